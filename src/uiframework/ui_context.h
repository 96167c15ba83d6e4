#pragma once

// What all windows of one program share: the host, the skin's resources and the localised
// text table. Created at start-up, outlives every window.

#include "uiframework/host.h"
#include "uiframework/resource_source.h"
#include "uiframework/text_table.h"

namespace uiframework {

class UiContext {
  public:
    UiContext(UiHost& host, const ResourceSource& resources) : host_(host), resources_(resources) {}
    UiContext(const UiContext&) = delete;
    UiContext& operator=(const UiContext&) = delete;

    UiHost& Host() { return host_; }
    const ResourceSource& Resources() const { return resources_; }
    LocalizedTextTable& Texts() { return texts_; }

  private:
    UiHost& host_;
    const ResourceSource& resources_;
    LocalizedTextTable texts_;
};

}  // namespace uiframework
