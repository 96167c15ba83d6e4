#pragma once

// The tracker's enumerations. Each toString throws MxException for a value outside its list
// (records may carry any number, for example one read from elsewhere).

#include <cstdint>
#include <string>

namespace marlix::tracking {

enum class MxEdition : int32_t { China = 0, Overseas = 1 };

enum class MxResult : int32_t { Success = 0, Cancelled = 1, Fail = 2, Unknown = 3 };

// Also the index of an event type's context-property list.
enum class MxEventType : int32_t {
    Activity = 0,
    PaLaunchPal = 1,
    Login = 2,
    Click = 3,
    View = 4,
    Cashier = 5,
    Share = 6,
    Task = 7,
    File = 8,
    Order = 9,
    Payment = 10,
    Uninstall = 11,
    Update = 12,
    Crashed = 13,
    AppOpenNotification = 14
};
inline constexpr int32_t kEventTypeCount = 15;

enum class MxUserType : int32_t {
    Unknown = 0,
    MobilePhone = 1,
    Email = 2,
    Weixin = 3,
    QQ = 4,
    DeviceId = 5,
    Baidu = 6,
    Huawei = 7,
    Apple = 8,
    MarlixUserId = 9,
    Google = 10,
    Facebook = 11
};

enum class MxClickType : int32_t { Button = 0, Banner = 1, Tutorial = 2, File = 3, Others = 4 };

enum class MxIoType : int32_t { Input = 0, Output = 1 };

enum class MxCurrency : int32_t {
    CNY = 0,
    USD = 1,
    EUR = 2,
    HKD = 3,
    TWD = 4,
    MOP = 5,
    SGD = 6,
    JPY = 7,
    KRW = 8,
    INR = 9,
    GBP = 10
};

enum class MxPaidPlatform : int32_t {
    Alipay = 0,
    WeChatPay = 1,
    PayPal = 2,
    Tenpay = 3,
    CIECC = 4,
    GooglePay = 5,
    HuaweiPay = 6,
    AppleIAP = 7,
    Paddle = 8,
    ChinaUnionPay = 9
};

enum class MxIapType : int32_t {
    Consumable = 0,
    NonConsumable = 1,
    AutoRenewable = 2,
    NonRenewable = 3
};

enum class MxUpdateOp : int32_t {
    UpdateCheck = 0,
    DownloadStart = 1,
    DownloadEnd = 2,
    UpgrateStart = 3,
    UpgrateEnd = 4
};

enum class MxUpdateResult : int32_t {
    Success = 0,
    Cancelled = 1,
    Timeout = 2,
    Fail = 3,
    Latest = 4,
    Updateable = 5
};

std::string toString(MxEdition value);
std::string toString(MxResult value);
std::string toString(MxEventType value);
std::string toString(MxUserType value);
std::string toString(MxClickType value);
std::string toString(MxIoType value);
std::string toString(MxCurrency value);
std::string toString(MxPaidPlatform value);
std::string toString(MxIapType value);
std::string toString(MxUpdateOp value);
std::string toString(MxUpdateResult value);

}  // namespace marlix::tracking
