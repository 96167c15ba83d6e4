#pragma once

// Builds a window's control tree from its XML layout.
//
// The document's root element is Window (attributes: size, caption, roundcorner, mininfo,
// maxinfo, sizebox; any others are kept for the window class). Inside it: Font elements
// (id, name, size, bold, underline, italic, default), Default elements (name = an element
// name, value = attributes given to every such element before its own), and one root
// control element. Element names are matched without regard to case. An element that is
// neither a framework control nor accepted by the custom factory yields no control, and
// its children are skipped with it.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "uiframework/control.h"
#include "uiframework/font.h"
#include "uiframework/window_attributes.h"

namespace uiframework {

// Builds the window's own controls for element names the framework does not know; returns
// null for names it does not know either.
using ControlFactory = std::function<std::unique_ptr<Control>(std::string_view elementName)>;

struct BuiltLayout {
    WindowAttributes window;
    FontTable fonts;
    std::unique_ptr<Control> root;  // null when the layout could not be built
    std::string error;              // why, when root is null
};

BuiltLayout BuildLayout(std::string_view xml, const ControlFactory& customFactory);

// The framework's own control for an element name, or null.
std::unique_ptr<Control> CreateFrameworkControl(std::string_view elementName);

}  // namespace uiframework
