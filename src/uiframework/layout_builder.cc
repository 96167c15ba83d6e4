#include "uiframework/layout_builder.h"

#include <pugixml.hpp>

#include <map>
#include <utility>
#include <vector>

#include "uiframework/attribute_text.h"
#include "uiframework/button.h"
#include "uiframework/combo.h"
#include "uiframework/container.h"
#include "uiframework/edit.h"
#include "uiframework/label.h"
#include "uiframework/option.h"
#include "uiframework/progress.h"
#include "uiframework/tab_layout.h"

namespace uiframework {

namespace {

using AttributeList = std::vector<std::pair<std::string, std::string>>;

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

template <typename T>
std::unique_ptr<Control> Make() {
    return std::make_unique<T>();
}

class TreeBuilder {
  public:
    explicit TreeBuilder(const ControlFactory& customFactory) : customFactory_(customFactory) {}

    void AddDefault(const pugi::xml_node& node) {
        std::string element = LowerAscii(node.attribute("name").value());
        if (!element.empty()) {
            defaults_[element] = ParseKeyValueList(node.attribute("value").value());
        }
    }

    std::unique_ptr<Control> Build(const pugi::xml_node& node) {
        std::string_view element = node.name();
        std::unique_ptr<Control> control = CreateFrameworkControl(element);
        if (!control && customFactory_) {
            control = customFactory_(element);
        }
        if (!control) {
            return nullptr;
        }
        if (auto it = defaults_.find(LowerAscii(element)); it != defaults_.end()) {
            for (const auto& [name, value] : it->second) {
                control->SetAttribute(name, value);
            }
        }
        for (const pugi::xml_attribute& attribute : node.attributes()) {
            control->SetAttribute(attribute.name(), attribute.value());
        }
        for (const pugi::xml_node& childNode : node.children()) {
            if (childNode.type() != pugi::node_element) {
                continue;
            }
            if (auto child = Build(childNode)) {
                control->AddChild(std::move(child));
            }
        }
        return control;
    }

  private:
    const ControlFactory& customFactory_;
    std::map<std::string, AttributeList> defaults_;
};

void ReadWindowAttributes(const pugi::xml_node& node, WindowAttributes& window) {
    for (const pugi::xml_attribute& attribute : node.attributes()) {
        std::string_view name = attribute.name();
        std::string_view value = attribute.value();
        window.all.emplace_back(std::string(name), std::string(value));
        if (name == "size") {
            window.size = ParseSize(value).value_or(window.size);
        } else if (name == "caption") {
            window.caption = ParseRect(value).value_or(window.caption);
        } else if (name == "roundcorner") {
            window.roundCorner = ParseSize(value).value_or(window.roundCorner);
        } else if (name == "mininfo") {
            window.minInfo = ParseSize(value).value_or(window.minInfo);
        } else if (name == "maxinfo") {
            window.maxInfo = ParseSize(value).value_or(window.maxInfo);
        } else if (name == "sizebox") {
            window.sizeBox = ParseRect(value).value_or(window.sizeBox);
        }
    }
}

void AddFont(const pugi::xml_node& node, FontTable& fonts, int& nextId) {
    FontInfo font;
    font.name = node.attribute("name").value();
    font.size = ParseInt(node.attribute("size").value()).value_or(font.size);
    font.bold = ParseBool(node.attribute("bold").value());
    font.underline = ParseBool(node.attribute("underline").value());
    font.italic = ParseBool(node.attribute("italic").value());
    int id = ParseInt(node.attribute("id").value()).value_or(nextId);
    nextId = id + 1;
    fonts.Add(id, std::move(font), ParseBool(node.attribute("default").value()));
}

}  // namespace

std::unique_ptr<Control> CreateFrameworkControl(std::string_view elementName) {
    using Creator = std::unique_ptr<Control> (*)();
    static const std::map<std::string, Creator, std::less<>> kCreators = {
        {"control", &Make<Control>},
        {"container", &Make<Container>},
        {"verticallayout", &Make<VerticalLayout>},
        {"horizontallayout", &Make<HorizontalLayout>},
        {"tablayout", &Make<TabLayout>},
        {"label", &Make<Label>},
        {"text", &Make<Label>},
        {"button", &Make<Button>},
        {"option", &Make<Option>},
        {"checkbox", &Make<CheckBox>},
        {"edit", &Make<Edit>},
        {"combo", &Make<Combo>},
        {"listlabelelement", &Make<ListLabelElement>},
        {"progress", &Make<Progress>},
    };
    auto it = kCreators.find(LowerAscii(elementName));
    return it != kCreators.end() ? it->second() : nullptr;
}

BuiltLayout BuildLayout(std::string_view xml, const ControlFactory& customFactory) {
    BuiltLayout layout;
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_buffer(xml.data(), xml.size());
    if (!parsed) {
        layout.error = std::string("layout does not parse: ") + parsed.description() +
                       " at offset " + std::to_string(parsed.offset);
        return layout;
    }
    pugi::xml_node window = document.document_element();
    if (!EqualsIgnoreCase(window.name(), "Window")) {
        layout.error = "layout has no Window element";
        return layout;
    }
    ReadWindowAttributes(window, layout.window);

    TreeBuilder builder(customFactory);
    int nextFontId = 0;
    for (const pugi::xml_node& node : window.children()) {
        if (node.type() != pugi::node_element) {
            continue;
        }
        std::string_view name = node.name();
        if (EqualsIgnoreCase(name, "Font")) {
            AddFont(node, layout.fonts, nextFontId);
        } else if (EqualsIgnoreCase(name, "Default")) {
            builder.AddDefault(node);
        } else if (!layout.root) {
            layout.root = builder.Build(node);
        }
    }
    if (!layout.root) {
        layout.error = "layout has no control";
    }
    return layout;
}

}  // namespace uiframework
