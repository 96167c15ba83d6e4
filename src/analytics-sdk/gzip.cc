#include "analytics-sdk/gzip.h"

#include <zlib.h>

#include <memory>

#include "analytics-sdk/diagnostics.h"

namespace analytics_sdk {
namespace {

constexpr size_t kChunkSize = 32768;

struct DeflateEnd {
    void operator()(z_stream* stream) const { deflateEnd(stream); }
};
using ScopedDeflate = std::unique_ptr<z_stream, DeflateEnd>;

}  // namespace

std::optional<std::string> GzipCompress(std::string_view text) {
    z_stream stream = {};
    if (deflateInit2(&stream, 9, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        WriteError("deflateInit2 failed while compressing.\n");
        return std::nullopt;
    }
    ScopedDeflate end(&stream);
    // zlib never writes through next_in.
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());

    std::string out;
    char chunk[kChunkSize];
    int result = Z_OK;
    do {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = kChunkSize;
        result = deflate(&stream, Z_FINISH);
        out.append(chunk, kChunkSize - stream.avail_out);
    } while (result == Z_OK);

    if (result != Z_STREAM_END) {
        WriteError("Exception during zlib compression: (" + std::to_string(result) + ") " +
                   (stream.msg != nullptr ? stream.msg : "") + "\n");
        return std::nullopt;
    }
    return out;
}

}  // namespace analytics_sdk
