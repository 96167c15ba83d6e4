#pragma once

// A stack of pages of which one shows. Every page is laid out on the whole inner rectangle
// (so hidden pages have their places too); only the selected one is visible.

#include "uiframework/container.h"

namespace uiframework {

class TabLayout : public Container {
  public:
    std::string_view GetClass() const override { return "TabLayout"; }
    // "selectedid": the page shown first (default 0), set without a notification.
    void SetAttribute(std::string_view name, std::string_view value) override;
    Control* Add(std::unique_ptr<Control> child) override;

    // The shown page, or -1 when there is none.
    int GetCurSel() const { return curSel_; }
    // Shows page `index`. Raises "tabselect" (wParam = new page, lParam = previous page)
    // only when the page changes. False for an index without a page.
    bool SelectItem(int index);

    void SetPos(const Rect& rect) override;

  private:
    int initialSel_ = 0;
    int curSel_ = -1;
};

}  // namespace uiframework
