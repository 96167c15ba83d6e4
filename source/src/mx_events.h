#pragma once

// The argument records of the track operations. Texts are UTF-8; an empty text counts as
// absent unless the field is required. Optional values are shared pointers: null means the
// value was not given.

#include <cstdint>
#include <memory>
#include <string>

#include "source/src/mx_types.h"

namespace marlix::tracking {

struct MxUser {
    std::string id;
    MxUserType type = MxUserType::Unknown;
    int32_t vipLevel = 0;
};

struct MxEventClick {
    std::string aname;
    std::string name;  // required
    MxClickType clickType = MxClickType::Others;
    std::string title;
    std::string module;
    std::string position;
    std::shared_ptr<int32_t> tabIndex;
    std::string tabName;
    std::shared_ptr<int32_t> bannerIndex;
    std::string bannerName;
};

struct MxEventView {
    std::string aname;
    std::string name;  // required
    std::string title;
    std::string position;
};

struct MxEventCashier {
    std::string cashierName;  // required
    std::string cashierTitle;
    std::string subitem;
};

struct MxEventShare {
    std::string aname;
    std::string channel;
    std::string position;
    std::string sharedName;
    std::shared_ptr<MxResult> result;
};

struct MxEventTask {
    std::string aname;
    std::string name;  // required
    std::string reason;
    std::shared_ptr<float> elapsed;  // seconds
    std::shared_ptr<MxResult> result;
};

struct MxEventFile {
    std::string aname;  // required
    std::string name;
    std::shared_ptr<MxIoType> io;
    std::string ext;
    std::shared_ptr<float> size;
    std::shared_ptr<int32_t> duration;
    std::shared_ptr<float> fps;
    std::shared_ptr<float> bps;
    std::shared_ptr<int32_t> width;
    std::shared_ptr<int32_t> height;
    std::shared_ptr<int32_t> depth;
    std::shared_ptr<MxResult> result;
};

struct MxEventOrder {
    std::string orderId;
    std::string subitem;
    std::string sku;
    std::string suitId;                    // required
    std::shared_ptr<MxCurrency> currency;  // required
    float originalAmount = 0;              // above 0
    std::string voucherId;
    float paidAmount = 0;  // above 0
    std::string cashierName;
    std::string cashierTitle;
    std::shared_ptr<int32_t> campaignCode;
    float curOriginalAmount = 0;
    float curPaidAmount = 0;
};

struct MxEventPayment {
    std::string orderId;  // required
    std::string subitem;
    std::string sku;
    std::shared_ptr<MxCurrency> currency;  // required
    float originalAmount = 0;
    std::shared_ptr<int32_t> campaignCode;
    std::string voucherId;
    std::string usedVoucherId;
    float paidAmount = 0;
    std::string suitId;
    std::string cashierName;
    std::string cashierTitle;
    std::shared_ptr<MxPaidPlatform> paidPlatform;  // required
    std::shared_ptr<MxResult> result;              // required: Success or Fail
    std::shared_ptr<MxIapType> iapType;
    float curOriginalAmount = 0;
    float curPaidAmount = 0;
};

struct MxEventUpdate {
    MxUpdateOp op = MxUpdateOp::UpdateCheck;
    std::shared_ptr<MxUpdateResult> result;
    std::shared_ptr<float> elapsed;
};

struct AppOpenNotification {
    std::string msgTitle;  // required
    std::string msgContent;
    std::string linkUrl;
    std::string planId;  // required
    std::string audienceId;
    std::string planStrategyId;
    std::string planType;  // required
    std::string strategyUnitId;
};

}  // namespace marlix::tracking
