#include "analytics-sdk/properties_node.h"

#include "analytics-sdk/validation.h"

namespace analytics_sdk {
namespace utils {

void ObjectNode::SetNumber(const std::string& key, double value) {
    Store(key, value);
}

void ObjectNode::SetInt(const std::string& key, int64_t value) {
    Store(key, value);
}

bool ObjectNode::SetString(const std::string& key, const std::string& value) {
    if (!CheckStringValue(key, value)) {
        return false;
    }
    Store(key, value);
    return true;
}

bool ObjectNode::SetString(const std::string& key, const char* value) {
    return SetString(key, std::string(value != nullptr ? value : ""));
}

void ObjectNode::SetBool(const std::string& key, bool value) {
    Store(key, value);
}

void ObjectNode::SetList(const std::string& key, const std::vector<std::string>& value) {
    Store(key, value);
}

void ObjectNode::SetDateTime(const std::string& key, int64_t seconds, int milliseconds) {
    Store(key, DateTime{seconds, milliseconds});
}

void ObjectNode::SetObject(const std::string& key, const ObjectNode& node) {
    // Copied as a plain ObjectNode: the stored value is data, not a container with rules.
    Store(key, std::make_shared<const ObjectNode>(node));
}

void ObjectNode::Merge(const ObjectNode& other) {
    if (&other == this) {
        return;
    }
    for (const auto& [key, value] : other.entries_) {
        if (const auto* object = std::get_if<std::shared_ptr<const ObjectNode>>(&value)) {
            SetObject(key, **object);
        } else {
            Store(key, value);
        }
    }
}

const Value* ObjectNode::Find(const std::string& key) const {
    auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
}

void ObjectNode::Erase(const std::string& key) {
    entries_.erase(key);
}

void ObjectNode::Store(const std::string& key, Value value) {
    entries_.insert_or_assign(key, std::move(value));
}

}  // namespace utils

void PropertiesNode::SetObject(const std::string&, const ObjectNode&) {}

}  // namespace analytics_sdk
