#include "ui/controls/sequence_controls.h"

#include "uiframework/attribute_text.h"

namespace uiframework {

std::unique_ptr<Control> CreateSequenceControl(std::string_view elementName) {
    if (EqualsIgnoreCase(elementName, "SequenceButton")) {
        return std::make_unique<CSequenceButtonUI>();
    }
    if (EqualsIgnoreCase(elementName, "SequenceLabel")) {
        return std::make_unique<CSequenceLabelUI>();
    }
    return nullptr;
}

}  // namespace uiframework
