// skin-art: draws every picture of the installer's skin into SKIN_DIR/res.
// Usage: skin-art SKIN_DIR

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "art.h"

namespace {

using skinart::Canvas;
using skinart::State;

struct Picture {
    std::string name;  // path below the skin folder
    int width;
    int height;
    std::function<void(Canvas&)> paint;
};

constexpr State kStates[] = {State::kNormal, State::kHot, State::kPushed};
constexpr int kAnimationFrames = 25;

// name1.png, name2.png, name3.png for normal, hot and pushed.
void AddStates(std::vector<Picture>& pictures, const std::string& stem, int width, int height,
               const std::function<void(Canvas&, State)>& paint) {
    for (int i = 0; i < 3; ++i) {
        const State state = kStates[i];
        pictures.push_back({stem + std::to_string(i + 1) + ".png", width, height,
                            [paint, state](Canvas& canvas) { paint(canvas, state); }});
    }
}

void AddMainWindow(std::vector<Picture>& pictures) {
    const std::string dir = "res/mainWnd/";
    for (int i = 1; i <= 4; ++i) {
        pictures.push_back(
            {dir + "bg" + std::to_string(i) + ".png", 600, 400, skinart::PaintBackground});
    }
    pictures.push_back({dir + "logo.png", 296, 58, skinart::PaintLogo});
    const auto pill = [](Canvas& c, State s) { skinart::PaintPrimaryButton(c, s, 8); };
    AddStates(pictures, dir + "installBtn", 200, 46, pill);
    AddStates(pictures, dir + "experienceBtn", 200, 46, pill);
    AddStates(pictures, dir + "chDirBtn", 81, 36,
              [](Canvas& c, State s) { skinart::PaintPrimaryButton(c, s, 4); });
    AddStates(pictures, dir + "backBtn", 64, 30, skinart::PaintBackButton);
    pictures.push_back(
        {dir + "customeBtn1.png", 16, 16, [](Canvas& c) { skinart::PaintChevron(c, false); }});
    pictures.push_back(
        {dir + "customeBtn2.png", 16, 16, [](Canvas& c) { skinart::PaintChevron(c, true); }});
    pictures.push_back(
        {dir + "Cb1.png", 15, 14, [](Canvas& c) { skinart::PaintCheckBox(c, false); }});
    pictures.push_back(
        {dir + "Cb2.png", 15, 14, [](Canvas& c) { skinart::PaintCheckBox(c, true); }});
    pictures.push_back({dir + "installDirEdit.png", 340, 36, skinart::PaintEditField});
    pictures.push_back({dir + "installPrg1.png", 410, 8, skinart::PaintProgressTrack});
    pictures.push_back({dir + "installPrg2.png", 520, 8, skinart::PaintProgressFill});
    pictures.push_back({dir + "finished.png", 80, 80, skinart::PaintFinished});
    pictures.push_back({dir + "tipLbl.png", 120, 36, skinart::PaintTip});
    for (int frame = 0; frame < kAnimationFrames; ++frame) {
        char name[64];
        std::snprintf(name, sizeof name, "installBtnAnimate/%03d.png", frame);
        pictures.push_back({dir + name, 160, 160, [frame](Canvas& c) {
                                skinart::PaintSpinnerFrame(c, frame, kAnimationFrames);
                            }});
    }
}

void AddCommon(std::vector<Picture>& pictures) {
    AddStates(pictures, "res/common/minbtn", 24, 24, skinart::PaintMinimise);
    AddStates(pictures, "res/common/closebtn", 24, 24, skinart::PaintClose);
    AddStates(pictures, "res/common/closebtnM_", 24, 24, skinart::PaintDialogClose);
    const std::string dir = "res/MessageBoxWnd/";
    const struct {
        const char* name;
        skinart::Emblem emblem;
    } icons[] = {{"icoWarn.png", skinart::Emblem::kWarning},
                 {"icoQuest.png", skinart::Emblem::kQuestion},
                 {"icoNetwork.png", skinart::Emblem::kNetwork}};
    for (const auto& icon : icons) {
        const skinart::Emblem emblem = icon.emblem;
        pictures.push_back({dir + icon.name, 40, 40,
                            [emblem](Canvas& c) { skinart::PaintDialogIcon(c, emblem); }});
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin-art SKIN_DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::vector<Picture> pictures;
    AddMainWindow(pictures);
    AddCommon(pictures);
    for (const Picture& picture : pictures) {
        const std::filesystem::path path = root / picture.name;
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        Canvas canvas(picture.width, picture.height);
        picture.paint(canvas);
        if (!canvas.Save(path.string())) {
            std::fprintf(stderr, "skin-art: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    std::printf("skin-art: %zu pictures written below %s\n", pictures.size(), root.c_str());
    return 0;
}
