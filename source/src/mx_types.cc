#include "source/src/mx_types.h"

#include <array>
#include <string_view>

#include "source/src/mx_exception.h"

namespace marlix::tracking {
namespace {

template <typename Enum, size_t N>
std::string Name(Enum value, const std::array<std::string_view, N>& names,
                 std::string_view messageStart, std::string_view messageEnd = "]!") {
    const auto index = static_cast<int32_t>(value);
    if (index < 0 || static_cast<size_t>(index) >= N) {
        std::string message(messageStart);
        if (!messageEnd.empty()) {
            message += std::to_string(index);
            message += messageEnd;
        }
        MX_THROW("MxTrackerImpl", "toString", message);
    }
    return std::string(names[static_cast<size_t>(index)]);
}

}  // namespace

std::string toString(MxEdition value) {
    return Name(value, std::array<std::string_view, 2>{"china", "overseas"}, "Unknown edition [");
}

std::string toString(MxResult value) {
    return Name(value, std::array<std::string_view, 4>{"Success", "Cancelled", "Fail", "Unknown"},
                "Unknown task result [");
}

std::string toString(MxEventType value) {
    return Name(
        value,
        std::array<std::string_view, 15>{"Activity", "PaLaunchPal", "Login", "Click", "View",
                                         "Cashier", "Share", "Task", "File", "Order", "Payment",
                                         "Uninstall", "Update", "Crashed", "AppOpenNotification"},
        "Unknown Event [");
}

std::string toString(MxUserType value) {
    return Name(value,
                std::array<std::string_view, 12>{"unknown", "mobilephone", "email", "weixin", "qq",
                                                 "deviceid", "baidu", "huawei", "apple",
                                                 "marlixuserid", "google", "facebook"},
                "Unknown user type [");
}

std::string toString(MxClickType value) {
    return Name(value,
                std::array<std::string_view, 5>{"Button", "Banner", "Tutorial", "File", "Others"},
                "Unknown ClickType [");
}

std::string toString(MxIoType value) {
    return Name(value, std::array<std::string_view, 2>{"Input", "Output"}, "the io type is invalid",
                "");
}

std::string toString(MxCurrency value) {
    return Name(value,
                std::array<std::string_view, 11>{"CNY", "USD", "EUR", "HKD", "TWD", "MOP", "SGD",
                                                 "JPY", "KRW", "INR", "GBP"},
                "Unknown currency [");
}

std::string toString(MxPaidPlatform value) {
    return Name(value,
                std::array<std::string_view, 10>{"Alipay", "WeChatPay", "PayPal", "Tenpay", "CIECC",
                                                 "GooglePay", "HuaweiPay", "AppleIAP", "Paddle",
                                                 "ChinaUnionPay"},
                "Unknown paid platform [");
}

std::string toString(MxIapType value) {
    return Name(value,
                std::array<std::string_view, 4>{"Consumable", "NonConsumable", "AutoRenewable",
                                                "NonRenewable"},
                "Unknown mxIapType [");
}

std::string toString(MxUpdateOp value) {
    return Name(value,
                std::array<std::string_view, 5>{"UpdateCheck", "DownloadStart", "DownloadEnd",
                                                "UpgrateStart", "UpgrateEnd"},
                "Unknown MxUpdateOp [");
}

std::string toString(MxUpdateResult value) {
    return Name(value,
                std::array<std::string_view, 6>{"Success", "Cancelled", "Timeout", "Fail", "Latest",
                                                "Updateable"},
                "Unknown MxUpdateResult [");
}

}  // namespace marlix::tracking
