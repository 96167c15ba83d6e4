#pragma once

// The common base of the installer's windows: it names the skin (the embedded archive,
// resource kind 4, identifier 147, no folder), adds the drop shadow that the layout's
// Window element describes, and swallows Escape so that no installer window closes on it.

#include <memory>
#include <string>

#include "uiframework/shadow_window.h"
#include "uiframework/skin_window_base.h"

class CSkinFrame : public uiframework::SkinWindowBase {
  public:
    static constexpr int kZipResource = 4;
    static constexpr int kSkinResourceId = 147;

    CSkinFrame(uiframework::UiContext& context, std::string layoutFile, std::string className);

    // The class name of a window built from `layoutFile`: the name up to its last ".".
    static std::string WindowClassNameFor(std::string_view layoutFile);

    int GetSkinType() const override { return kZipResource; }
    int GetResourceId() const override { return kSkinResourceId; }
    std::string GetSkinFolder() const override { return {}; }
    std::string GetSkinFile() const override { return layoutFile_; }
    std::string GetWindowClassName() const override { return className_; }
    // Builds the sequence controls.
    std::unique_ptr<uiframework::Control> CreateControl(std::string_view elementName) override;

    // The shadow, or null when the layout asks for none.
    const uiframework::CShadowWnd* Shadow() const { return shadow_.get(); }

  protected:
    // Derived windows call this first from their own set-up.
    void InitWindow() override;
    bool FilterKeyDown(uiframework::Key key) override;

  private:
    void ConfigureShadow();

    std::string layoutFile_;
    std::string className_;
    std::unique_ptr<uiframework::CShadowWnd> shadow_;
};
