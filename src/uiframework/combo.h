#pragma once

// A drop-down choice. Its items come from its child elements (their texts); the host
// shows a native combo over it and reports the user's choice through SelectItem.

#include <string>
#include <vector>

#include "uiframework/label.h"

namespace uiframework {

class Combo : public Label {
  public:
    std::string_view GetClass() const override { return "Combo"; }
    bool IsInteractive() const override { return true; }
    // Keeps the child's text as an item.
    bool AddChild(std::unique_ptr<Control> child) override;
    void AddItem(std::string text);

    size_t GetCount() const { return items_.size(); }
    // The item's text as shown ("%{n}" expanded); empty for an index without an item.
    std::string GetItemText(size_t index) const;
    // The selected item, or -1.
    int GetCurSel() const { return curSel_; }
    // Raises "itemselect" (wParam = new index, lParam = previous) when the selection
    // changes. False for an index without an item.
    bool SelectItem(int index);

  protected:
    std::string ShownText() const override;

  private:
    std::vector<std::string> items_;
    int curSel_ = -1;
};

}  // namespace uiframework
