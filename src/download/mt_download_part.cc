#include "download/mt_download_part.h"

#include <algorithm>

namespace download {

namespace {
constexpr int64_t kRangeUnit = 10485760;
}

std::vector<ByteRange> PlanRanges(int64_t length) {
    const int64_t count = std::clamp<int64_t>(length / kRangeUnit, 1, 2);
    const int64_t each = length / count;
    std::vector<ByteRange> ranges;
    for (int64_t i = 0; i < count; ++i) {
        const int64_t size = each + (i == count - 1 ? length % count : 0);
        ranges.push_back({i * each, i * each + size - 1});
    }
    return ranges;
}

void DownloadPartNode::Restart() {
    file.Truncate(0);
    nextOffset = firstOffset;
    received = 0;
}

size_t DownloadPartNode::Append(const char* data, size_t size) {
    if (!file.IsOpen() || nextOffset > endOffset) {
        return 0;
    }
    const auto room = static_cast<size_t>(endOffset - nextOffset + 1);
    const size_t take = std::min(size, room);
    if (!file.WriteAll(data, take)) {
        return 0;
    }
    nextOffset += static_cast<int64_t>(take);
    received += static_cast<int64_t>(take);
    return take;
}

}  // namespace download
