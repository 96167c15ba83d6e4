#include "analytics-sdk/record_builder.h"

#include "analytics-sdk/json_writer.h"
#include "analytics-sdk/validation.h"

namespace analytics_sdk {
namespace {

using utils::ObjectNode;

bool CheckRequest(const RecordRequest& request) {
    if (!CheckProperties(request.properties)) {
        return false;
    }
    if (request.actionType == "track") {
        return CheckName("Event Name", std::string(request.event));
    }
    if (request.actionType == "track_signup") {
        return CheckIdentifier("Original ID", std::string(request.originalId));
    }
    return true;
}

// The record's own fields are identifiers and names that have had their checks (or, like the
// distinct id, none to pass); SetString's value checks are for callers' property values.
class RecordNode : public ObjectNode {
  public:
    void PutString(const std::string& key, std::string_view value) {
        Store(key, std::string(value));
    }
    void PutObject(const std::string& key, ObjectNode&& node) {
        Store(key, std::make_shared<const ObjectNode>(std::move(node)));
    }
};

RecordNode LibraryObject() {
    RecordNode lib;
    lib.PutString("$lib", "cpp");
    lib.PutString("$lib_version", "0.9");
    lib.PutString("$lib_method", "code");
    return lib;
}

}  // namespace

std::optional<std::string> BuildRecord(const RecordRequest& request, const RecordContext& context) {
    if (!CheckRequest(request)) {
        return std::nullopt;
    }
    const bool isTrack = request.actionType.find("track") != std::string_view::npos;
    const bool isSignUp = request.actionType == "track_signup";

    ObjectNode properties;
    if (isTrack) {
        properties.Merge(context.superProperties);
    }
    properties.Merge(request.properties);

    int64_t time = context.nowMs;
    if (const auto* stamp = properties.Find("$time")) {
        if (const auto* dateTime = std::get_if<utils::DateTime>(stamp)) {
            time = dateTime->seconds * 1000 + dateTime->milliseconds;
            properties.Erase("$time");
        }
    }
    std::string project;
    if (const auto* value = properties.Find("$project")) {
        if (const auto* text = std::get_if<std::string>(value)) {
            project = *text;
            properties.Erase("$project");
        }
    }
    if (context.isLoginId) {
        properties.SetBool("$is_login_id", true);
    }

    RecordNode record;
    record.PutString("type", request.actionType);
    record.SetNumber("time", time);
    record.PutString("distinct_id", request.distinctId);
    record.PutObject("properties", std::move(properties));
    record.PutObject("lib", LibraryObject());
    record.SetNumber("_track_id", context.trackId);
    if (!project.empty()) {
        record.PutString("project", project);
    }
    if (request.actionType == "track" || isSignUp) {
        record.PutString("event", request.event);
    }
    if (isSignUp) {
        record.PutString("original_id", request.originalId);
    }
    return ToJson(record);
}

int64_t MakeTrackId(uint32_t r, uint32_t s, int64_t nowMs) {
    // Joining 2 + 3 + 4 digits and reading the text back is this sum.
    const int64_t two = (r % 99 + 100) % 100;
    const int64_t three = (s % 999 + 1000) % 1000;
    const int64_t four = ((nowMs % 10000) + 10000) % 10000;
    return two * 10'000'000 + three * 10'000 + four;
}

}  // namespace analytics_sdk
