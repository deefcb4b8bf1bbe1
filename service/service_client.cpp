#include "service/service_client.h"

#include "service/codec.h"
#include "service/text_rules.h"

namespace pk10 {
namespace {

constexpr int kInitAttempts = 10;
constexpr std::string_view kInitFailed = "初始化连接服务器失败！：";
constexpr std::string_view kDrawsFailed = "获取最新开奖数据失败!";
constexpr std::string_view kErrorCode = " 错误代码：";
constexpr std::string_view kPeriodFailed = "最新期号获取失败!";
constexpr std::string_view kBadDrawData = "服务器返回的数据格式错误";

// The draw table sits in the reply as the value of a "data" member inside a JSON text that is
// itself the envelope's "data" string: `"data":"{\"data\":\"<payload>\"}"}`.
constexpr std::string_view kPayloadStartMarker = "data\\";
constexpr std::size_t kPayloadStartOffset = 9;  // past d a t a \ " : \ "
constexpr std::string_view kPayloadEndMarker = "\"}\"";
// Line ends inside the payload, escaped once by the inner and once by the outer JSON text.
constexpr std::string_view kEscapedLineEnd = "\\\\r\\\\n";

std::string failureText(std::string_view prefix, const JsonReply& reply) {
    return std::string(prefix) + reply.msg() + std::string(kErrorCode) + reply.errcode();
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t hit = text.find(from); hit != std::string_view::npos;
         hit = text.find(from, start)) {
        out.append(text.substr(start, hit - start));
        out.append(to);
        start = hit + from.size();
    }
    out.append(text.substr(start));
    return out;
}

}  // namespace

ServiceClient::ServiceClient(HttpTransport& transport, const Clock& clock, const Uptime& uptime,
                             EventPump& pump)
    : transport_(transport),
      clock_(clock),
      uptime_(uptime),
      pump_(pump),
      drawRequest_(transport, clock, uptime) {}

bool ServiceClient::init(const std::string& initUrl, std::int32_t appId) {
    ServiceRequest request(transport_, clock_, uptime_);
    request.setEndpoint(initUrl, appId);
    bool connected = false;
    for (int attempt = 0; attempt < kInitAttempts && !connected; ++attempt) {
        connected = request.call(initReply_, "init", {}, false);
        if (!connected) {
            pump_.pumpOnce();
        }
    }
    if (!connected) {
        lastError_ = failureText(kInitFailed, initReply_);
        return false;
    }
    parseSettings(initReply_, settings_);
    newphaseUrl_ = settings_.newphase;
    drawRequest_.setEndpoint(settings_.drawurl, appId);
    return true;
}

void ServiceClient::parseSettings(const JsonReply& reply, AppSettings& target) {
    target.drawurl = reply.memberText("drawurl");
    target.newphase = reply.memberText("newphase");
    target.advert1 = reply.memberText("advert1");
    target.advert2 = reply.memberText("advert2");
    target.version = reply.memberText("version");
    target.proupurl = reply.memberText("proupurl");
    target.seo = reply.memberText("seo");
}

bool ServiceClient::newestDraw(std::vector<std::string>& fields) {
    if (!drawRequest_.call(drawReply_, "newestdraw", {token_}, false)) {
        return false;
    }
    fields = splitText(drawReply_.memberText("data"), kNewestDrawSeparator);
    return !fields.empty();
}

bool ServiceClient::selectDraw(int count, DrawTable& table) {
    const std::vector<std::string> params{token_, std::to_string(count)};
    std::string replyText;
    std::int32_t nonce = 0;
    if (!drawRequest_.callRaw(replyText, "select_draw", params, nonce, drawReply_)) {
        lastError_ = failureText(kDrawsFailed, drawReply_);
        return false;
    }
    const std::optional<std::string> payload = cutDrawPayload(replyText);
    std::optional<DrawTable> built;
    if (payload) {
        built = buildDrawTable(*payload);
        if (!built) {
            return true;  // no draws: the caller's table stays as it was
        }
    }
    if (!built || built->columns < 5) {
        ServiceRequest::setFailure(drawReply_, "9999", kBadDrawData, "");
        lastError_ = failureText(kDrawsFailed, drawReply_);
        return false;
    }
    table = std::move(*built);
    return true;
}

std::optional<std::string> ServiceClient::cutDrawPayload(std::string_view replyText) {
    const std::size_t start = replyText.find(kPayloadStartMarker);
    const std::size_t end = replyText.rfind(kPayloadEndMarker);
    if (start == std::string_view::npos || end == std::string_view::npos) {
        return std::nullopt;
    }
    // The payload ends before the backslash that escapes the closing quote.
    const std::size_t first = start + kPayloadStartOffset;
    if (end < 1 || first > end - 1) {
        return std::nullopt;
    }
    return replaceAll(replyText.substr(first, end - 1 - first), kEscapedLineEnd, kLineEnd);
}

std::string ServiceClient::latestPeriod() {
    const HttpResponse response = transport_.get(newphaseUrl_);
    std::string period = response.received ? repairUtf8(response.body) : std::string();
    if (period.empty()) {
        lastError_ = std::string(kPeriodFailed);
    }
    return period;
}

}  // namespace pk10
