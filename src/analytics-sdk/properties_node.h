#pragma once

// Property containers of the collection SDK. A node is an ordered map from key to value,
// ordered by plain byte comparison of the keys; setting an existing key replaces its value.
// Not synchronised: a node is filled by one thread and then handed to the SDK by reference.

#include <concepts>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace analytics_sdk {
namespace utils {

class ObjectNode;

// The kind of a value; the numbers are the kinds' codes.
enum class ValueKind {
    Number = 0,
    Int = 1,
    String = 2,
    List = 3,
    DateTime = 4,
    Bool = 5,
    Object = 6
};

struct DateTime {
    int64_t seconds = 0;  // since 1970
    int milliseconds = 0;
};

// Index order of the alternatives matches ValueKind. Objects are immutable once stored, so
// sharing one between copies of a node still behaves as a copy.
using Value = std::variant<double, int64_t, std::string, std::vector<std::string>, DateTime, bool,
                           std::shared_ptr<const ObjectNode>>;

inline ValueKind KindOf(const Value& value) {
    return static_cast<ValueKind>(value.index());
}

class ObjectNode {
  public:
    using Entries = std::map<std::string, Value>;

    ObjectNode() = default;
    ObjectNode(const ObjectNode&) = default;
    ObjectNode& operator=(const ObjectNode&) = default;
    virtual ~ObjectNode() = default;

    void SetNumber(const std::string& key, double value);
    // Any integer is stored as an Int (signed 64-bit).
    template <std::integral T>
    requires(!std::same_as<T, bool>) void SetNumber(const std::string& key, T value) {
        SetInt(key, static_cast<int64_t>(value));
    }
    // Checks length (at most 8192 bytes) and UTF-8 form first; a rejected value leaves the
    // key unset, writes its reason to standard error and returns false.
    bool SetString(const std::string& key, const std::string& value);
    bool SetString(const std::string& key, const char* value);
    void SetBool(const std::string& key, bool value);
    void SetList(const std::string& key, const std::vector<std::string>& value);
    void SetDateTime(const std::string& key, int64_t seconds, int milliseconds);
    // Stores a copy of `node` as an Object value.
    virtual void SetObject(const std::string& key, const ObjectNode& node);
    // Copies every entry of `other` into this node; entries of `other` win. Object values go
    // through SetObject, so a node that refuses objects still holds none afterwards.
    void Merge(const ObjectNode& other);

    const Value* Find(const std::string& key) const;
    void Erase(const std::string& key);
    void Clear() { entries_.clear(); }
    const Entries& entries() const { return entries_; }

  protected:
    void SetInt(const std::string& key, int64_t value);
    void Store(const std::string& key, Value value);

  private:
    Entries entries_;
};

}  // namespace utils

// The container callers fill for an event or a profile operation. It holds no nested objects.
class PropertiesNode : public utils::ObjectNode {
  public:
    void SetObject(const std::string& key, const ObjectNode& node) override;
};

}  // namespace analytics_sdk
