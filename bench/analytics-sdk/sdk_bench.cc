// Throughput of the collection SDK's hot paths, run by hand:
//   analytics_sdk_bench [seconds per measurement, default 2]
// 1. Records built and queued per second for a typical installer event: 12 preset super
//    properties plus 8 event properties, as the tracker sends them.
// 2. Microseconds to encode one batch of 30 such records (gzip level 9, Base64,
//    URL-encoding) and the compression ratio.

#include <fmt/format.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "analytics-sdk/form_encoding.h"
#include "analytics-sdk/gzip.h"
#include "analytics-sdk/record_store.h"
#include "analytics-sdk/sdk_instance.h"

namespace {

using namespace analytics_sdk;
using Clock = std::chrono::steady_clock;

// Uploads nothing: the benchmark measures building and queuing only.
class NoTransport : public Transport {
  public:
    bool Send(const std::string&) override { return false; }
};

PropertiesNode PresetProperties() {
    PropertiesNode node;
    node.SetString("$app_id", "Quorvex.downloader");
    node.SetString("$app_version", "1.7.9");
    node.SetString("$os", "Windows");
    node.SetString("$os_version", "Windows 10 Pro 22H2");
    node.SetString("$manufacturer", "Contoso Computers");
    node.SetNumber("$screen_width", 1920);
    node.SetNumber("$screen_height", 1080);
    node.SetString("mx_app_id", "Quorvex.downloader");
    node.SetString("mx_app_store", "QuorvexSetup_1.7.9.exe");
    node.SetString("mx_dlapp_id", "Quorvex");
    node.SetString("mx_primary_distinct_id", "8d0b4c1e-2f57-4a61-9d1c-3b7f0e6a5c21");
    node.SetString("mx_l10n_language", "zh-CN");
    return node;
}

PropertiesNode EventProperties(int64_t index) {
    PropertiesNode node;
    node.SetString("mx_task_name", "download");
    node.SetString("mx_task_result", "Success");
    node.SetNumber("mx_elapsed", 12.5 + static_cast<double>(index % 100));
    node.SetNumber("mx_task_index", index);
    node.SetString("mx_reason", "DL_CODE_SUCCESS");
    node.SetString("mx_url", "https://dl.example.invalid/quorvex/QuorvexFull_1.7.9.exe");
    node.SetBool("mx_is_new_install", true);
    node.SetString("mx_page", "立即安装");
    return node;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BenchBuildAndQueue(SdkInstance& sdk, double budget) {
    int64_t count = 0;
    const auto start = Clock::now();
    while (Seconds(Clock::now() - start) < budget) {
        for (int i = 0; i < 1000; ++i, ++count) {
            sdk.Track("InstallTask", EventProperties(count));
        }
    }
    const double elapsed = Seconds(Clock::now() - start);
    fmt::print("build+queue: {} records in {:.2f} s = {:.0f} records/s ({:.2f} us/record)\n", count,
               elapsed, static_cast<double>(count) / elapsed, elapsed * 1e6 / count);
}

void BenchEncode(const std::vector<std::string>& texts, double budget) {
    const std::string batch = BatchText(texts);
    const std::string compressed = GzipCompress(batch).value_or("");
    const std::string body = UploadBody(compressed);
    int64_t count = 0;
    size_t sink = 0;
    const auto start = Clock::now();
    while (Seconds(Clock::now() - start) < budget) {
        const std::string text = BatchText(texts);
        sink += UploadBody(GzipCompress(text).value_or("")).size();
        ++count;
    }
    const double elapsed = Seconds(Clock::now() - start);
    fmt::print("encode batch of {}: {:.1f} us/batch over {} batches (sink {})\n", texts.size(),
               elapsed * 1e6 / count, count, sink % 10);
    fmt::print("batch text {} bytes, gzip {} bytes (ratio {:.2f}:1), body {} bytes\n", batch.size(),
               compressed.size(), static_cast<double>(batch.size()) / compressed.size(),
               body.size());
}

}  // namespace

int main(int argc, char** argv) {
    const double budget = argc > 1 ? std::atof(argv[1]) : 2.0;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        fmt::format("quorvex-sdk-bench-{}", std::random_device()());
    std::filesystem::create_directories(folder);
    std::vector<std::string> texts;
    {
        auto store = std::make_unique<RecordStore>((folder / "staging.txt").string(),
                                                   std::make_unique<NoTransport>());
        SdkInstance sdk("8d0b4c1e-2f57-4a61-9d1c-3b7f0e6a5c21", false, std::move(store));
        sdk.RegisterSuperProperties(PresetProperties());
        BenchBuildAndQueue(sdk, budget);
        texts = sdk.store().QueuedTexts();
    }
    texts.resize(30);
    BenchEncode(texts, budget);
    std::filesystem::remove_all(folder);
    return 0;
}
