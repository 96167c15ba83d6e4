#include "uiframework/loading/window_loader.h"

namespace uiframework {

CreateStatus CreateWindowOrExit(SkinWindowBase& window, SkinWindowBase* owner,
                                std::string_view title, SystemMessageBox& messageBox,
                                const ProcessExit& exitProcess) {
    CreateStatus status = window.Create(owner, title);
    if (status == CreateStatus::kLayoutMissing || status == CreateStatus::kLayoutInvalid) {
        messageBox.ShowError(kLoadFailureCaption, kLoadFailureText);
        exitProcess(kLoadFailureExitCode);
    }
    return status;
}

}  // namespace uiframework
