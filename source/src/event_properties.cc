#include "source/src/event_properties.h"

#include <fmt/format.h>

#include "source/src/mx_exception.h"

namespace marlix::tracking {
namespace {

constexpr char kUnit[] = "MxTrackerImpl";

[[noreturn]] void Fail(const char* operation, const std::string& message) {
    MX_THROW(kUnit, operation, message);
}

void Text(PropertiesNode& node, const char* key, const std::string& value) {
    if (!value.empty()) {
        node.SetString(key, value);
    }
}

template <typename T>
void Int(PropertiesNode& node, const char* key, const std::shared_ptr<T>& value) {
    if (value) {
        node.SetNumber(key, static_cast<int64_t>(*value));
    }
}

void Number(PropertiesNode& node, const char* key, const std::shared_ptr<float>& value) {
    if (value) {
        node.SetNumber(key, static_cast<double>(*value));
    }
}

void PositiveNumber(PropertiesNode& node, const char* key, float value) {
    if (value > 0) {
        node.SetNumber(key, static_cast<double>(value));
    }
}

void FirstTime(PropertiesNode& node) {
    node.SetBool("$is_first_time", true);
}

// Results Success, Cancelled and Fail are sent; Unknown and other values are left out.
void ReportedResult(PropertiesNode& node, const char* key,
                    const std::shared_ptr<MxResult>& result) {
    if (result && *result >= MxResult::Success && *result <= MxResult::Fail) {
        node.SetString(key, toString(*result));
    }
}

std::string Amount(float amount) {
    return fmt::format("{:.6f}", static_cast<double>(amount));
}

}  // namespace

PropertiesNode ActivityProperties(const TrackerOptions& options, const OsDescription& os) {
    PropertiesNode node;
    Text(node, "mx_app_store", options.appStore);
    Text(node, "mx_app_id", options.appName);
    Text(node, "$app_id", options.appName);
    Text(node, "$app_version", options.appVersion);
    node.SetString("$ios_install_source", kInstallSourceText);
    Text(node, "$user_agent", UserAgent(os.name, os.version, os.is64Bit));
    FirstTime(node);
    node.SetString("$os", os.name);
    node.SetString("$os_version", os.version);
    return node;
}

PropertiesNode LoginProperties(const MxUser& user, bool success, const std::string& reason) {
    PropertiesNode node;
    Text(node, "mx_user_id", user.id);
    Text(node, "mx_login_id", user.id);
    node.SetString("mx_type", toString(user.type));
    node.SetString("mx_result", success ? "Success" : "Fail");
    Text(node, "mx_reason", reason);
    if (!user.id.empty()) {
        FirstTime(node);
    }
    return node;
}

PropertiesNode ClickProperties(const MxEventClick& click) {
    if (click.name.empty()) {
        Fail("trackClick", "mxEventClick.name is empty");
    }
    PropertiesNode node;
    node.SetString("mx_name", click.name);
    node.SetString("mx_click_type", toString(click.clickType));
    Text(node, "mx_aname", click.aname);
    Text(node, "mx_title", click.title);
    Text(node, "mx_position", click.position);
    Text(node, "mx_module", click.module);
    Text(node, "mx_tab_name", click.tabName);
    Int(node, "mx_tab_index", click.tabIndex);
    Text(node, "mx_banner_name", click.bannerName);
    Int(node, "mx_banner_index", click.bannerIndex);
    FirstTime(node);
    return node;
}

PropertiesNode ViewProperties(const MxEventView& view) {
    if (view.name.empty()) {
        Fail("trackView", "mxEventView.name is empty");
    }
    PropertiesNode node;
    node.SetString("mx_name", view.name);
    Text(node, "mx_aname", view.aname);
    Text(node, "mx_title", view.title);
    Text(node, "mx_position", view.position);
    FirstTime(node);
    return node;
}

PropertiesNode CashierProperties(const MxEventCashier& cashier) {
    if (cashier.cashierName.empty()) {
        Fail("trackCashier", "mxEventCashier.mx_cashier_name is empty");
    }
    PropertiesNode node;
    node.SetString("mx_cashier_name", cashier.cashierName);
    Text(node, "mx_cashier_title", cashier.cashierTitle);
    Text(node, "mx_subitem", cashier.subitem);
    FirstTime(node);
    return node;
}

PropertiesNode ShareProperties(const MxEventShare& share) {
    PropertiesNode node;
    Text(node, "mx_aname", share.aname);
    Text(node, "mx_channel", share.channel);
    Text(node, "mx_position", share.position);
    Text(node, "mx_shared_name", share.sharedName);
    if (share.result) {
        node.SetString("mx_result", toString(*share.result));
    }
    FirstTime(node);
    return node;
}

PropertiesNode TaskProperties(const MxEventTask& task) {
    if (task.name.empty()) {
        Fail("trackTask", "mxEventTask.name is empty");
    }
    PropertiesNode node;
    node.SetString("mx_task_name", task.name);
    Number(node, "mx_task_elapsed", task.elapsed);
    ReportedResult(node, "mx_task_result", task.result);
    Text(node, "mx_aname", task.aname);
    Text(node, "mx_reason", task.reason);
    FirstTime(node);
    return node;
}

PropertiesNode FileProperties(const MxEventFile& file) {
    if (file.aname.empty()) {
        Fail("trackFile", "mxEventFile.aname is empty");
    }
    PropertiesNode node;
    node.SetString("mx_aname", file.aname);
    if (file.io) {
        node.SetString("mx_io", toString(*file.io));
    }
    ReportedResult(node, "mx_result", file.result);
    Text(node, "mx_name", file.name);
    Text(node, "mx_ext", file.ext);
    if (file.size) {
        PositiveNumber(node, "mx_size", *file.size);
    }
    Int(node, "mx_duration", file.duration);
    Number(node, "mx_fps", file.fps);
    Number(node, "mx_bps", file.bps);
    Int(node, "mx_width", file.width);
    Int(node, "mx_height", file.height);
    Int(node, "mx_depth", file.depth);
    FirstTime(node);
    return node;
}

PropertiesNode OrderProperties(const MxEventOrder& order) {
    constexpr char kOperation[] = "trackOrder";
    if (order.suitId.empty()) {
        Fail(kOperation, "mxEventOrder.mxSuitId is empty");
    }
    if (!order.currency) {
        Fail(kOperation, "mxEventOrder.mxCurrency is nullptr");
    }
    if (!(order.originalAmount > 0)) {
        Fail(kOperation, "mxEventOrder.originalAmount is less than zero");
    }
    if (!(order.paidAmount > 0)) {
        Fail(kOperation, "mxEventOrder.paidAmount is less than zero");
    }
    PropertiesNode node;
    node.SetString("mx_suit_id", order.suitId);
    node.SetString("mx_currency", toString(*order.currency));
    node.SetNumber("mx_paid_amount", static_cast<double>(order.paidAmount));
    node.SetNumber("mx_original_amount", static_cast<double>(order.originalAmount));
    FirstTime(node);
    Text(node, "mx_order_id", order.orderId);
    Text(node, "mx_subitem", order.subitem);
    Text(node, "mx_sku", order.sku);
    Int(node, "mx_campaign_code", order.campaignCode);
    Text(node, "mx_voucher_id", order.voucherId);
    PositiveNumber(node, "mx_cur_original_amount", order.curOriginalAmount);
    PositiveNumber(node, "mx_cur_paid_amount", order.curPaidAmount);
    Text(node, "mx_cashier_name", order.cashierName);
    Text(node, "mx_cashier_title", order.cashierTitle);
    return node;
}

PropertiesNode PaymentProperties(const MxEventPayment& payment) {
    constexpr char kOperation[] = "trackPayment";
    if (payment.orderId.empty()) {
        Fail(kOperation, "mxEventPayment.mxOrderId is empty");
    }
    if (payment.paidAmount < 0) {
        Fail(kOperation, "paidAmount = " + Amount(payment.paidAmount) + " is invalid");
    }
    if (payment.originalAmount < 0) {
        Fail(kOperation, "originalAmount = " + Amount(payment.originalAmount) + " is invalid");
    }
    if (!payment.result ||
        (*payment.result != MxResult::Success && *payment.result != MxResult::Fail)) {
        Fail(kOperation, "mxEventPayment.result is invalid");
    }
    // Both are needed for the record; a payment without them is refused, not guessed.
    if (!payment.paidPlatform) {
        Fail(kOperation, "mxEventPayment.mxPaidPlatform is nullptr");
    }
    if (!payment.currency) {
        Fail(kOperation, "mxEventPayment.mxCurrency is nullptr");
    }
    PropertiesNode node;
    node.SetString("mx_order_id", payment.orderId);
    node.SetString("mx_paid_platform", toString(*payment.paidPlatform));
    node.SetString("mx_currency", toString(*payment.currency));
    node.SetNumber("mx_paid_amount", static_cast<double>(payment.paidAmount));
    node.SetNumber("mx_original_amount", static_cast<double>(payment.originalAmount));
    node.SetString("mx_result", toString(*payment.result));
    FirstTime(node);
    Text(node, "mx_suit_id", payment.suitId);
    if (payment.iapType) {
        node.SetString("mx_iap_type", toString(*payment.iapType));
    }
    Text(node, "mx_subitem", payment.subitem);
    Text(node, "mx_sku", payment.sku);
    Text(node, "mx_voucher_id", payment.voucherId);
    Text(node, "mx_used_voucher_id", payment.usedVoucherId);
    Int(node, "mx_campaign_code", payment.campaignCode);
    PositiveNumber(node, "mx_cur_original_amount", payment.curOriginalAmount);
    PositiveNumber(node, "mx_cur_paid_amount", payment.curPaidAmount);
    Text(node, "mx_cashier_name", payment.cashierName);
    Text(node, "mx_cashier_title", payment.cashierTitle);
    return node;
}

PropertiesNode UninstallProperties(const std::string& reason) {
    PropertiesNode node;
    Text(node, "mx_uninstall_reason", reason);
    return node;
}

PropertiesNode CrashProperties(const std::string& reason) {
    PropertiesNode node;
    Text(node, "app_crashed_reason", reason);
    return node;
}

PropertiesNode UpdateProperties(const MxEventUpdate& update) {
    constexpr char kOperation[] = "trackUpdate";
    PropertiesNode node;
    node.SetString("mx_update_op", toString(update.op));
    const std::string result = update.result ? toString(*update.result) : "";
    switch (update.op) {
        case MxUpdateOp::UpdateCheck:
            node.SetString("mx_update_result", result);
            break;
        case MxUpdateOp::DownloadStart:
        case MxUpdateOp::UpgrateStart:
            break;
        case MxUpdateOp::DownloadEnd:
        case MxUpdateOp::UpgrateEnd:
            if (!update.result) {
                Fail(kOperation, "Unknown updateResultInfo info");
            }
            node.SetString("mx_update_result", result);
            if (update.op == MxUpdateOp::UpgrateEnd) {
                FirstTime(node);
            }
            if (!update.elapsed) {
                Fail(kOperation, "invalid elapsed info");
            }
            node.SetNumber("mx_elapsed", static_cast<double>(*update.elapsed));
            break;
    }
    return node;
}

PropertiesNode AppOpenNotificationProperties(const AppOpenNotification* notification) {
    constexpr char kOperation[] = "trackAppOpenNotification";
    if (notification == nullptr) {
        Fail(kOperation, "&appOpenNotification is nullptr");
    }
    if (notification->planId.empty()) {
        Fail(kOperation, "planID is emptry");
    }
    if (notification->planType.empty()) {
        Fail(kOperation, "planType is emptry");
    }
    if (notification->msgTitle.empty()) {
        Fail(kOperation, "msgTitle is emptry");
    }
    PropertiesNode node;
    node.SetString("$sf_msg_title", notification->msgTitle);
    node.SetString("$sf_plan_id", notification->planId);
    node.SetString("$sf_plan_type", notification->planType);
    FirstTime(node);
    Text(node, "$sf_msg_content", notification->msgContent);
    Text(node, "$sf_link_url", notification->linkUrl);
    Text(node, "$sf_audience_id", notification->audienceId);
    Text(node, "$sf_plan_strategy_id", notification->planStrategyId);
    Text(node, "$sf_strategy_unit_id", notification->strategyUnitId);
    return node;
}

}  // namespace marlix::tracking
