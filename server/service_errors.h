#pragma once

#include <string_view>

namespace pk10 {

// Every failure the service reports, each an HTTP 200 envelope with its own errcode.
enum class ServiceError {
    None,
    Malformed,      // not "DATA=..." or not the expected JSON request
    BadHex,         // the body is not hexadecimal
    Undecryptable,  // the layers do not decode to a request under the call key
    MissingKey,     // no call-key cookie, or one the service did not seal
    ExpiredKey,
    ReusedKey,
    UnknownFunction,
    UnknownApp,
    BadParameters,
    TooLong,  // body over the size limit
    NoDraws,  // the store holds no draw yet
    Internal,
};

struct ServiceErrorText {
    std::string_view errcode;
    std::string_view msg;
};

constexpr ServiceErrorText errorText(ServiceError error) {
    switch (error) {
        case ServiceError::None:
            return {"0", ""};
        case ServiceError::Malformed:
            return {"1001", "请求格式错误"};
        case ServiceError::BadHex:
            return {"1002", "请求数据无效"};
        case ServiceError::Undecryptable:
            return {"1003", "请求解密失败"};
        case ServiceError::MissingKey:
            return {"1004", "缺少调用密钥"};
        case ServiceError::ExpiredKey:
            return {"1005", "调用密钥已过期"};
        case ServiceError::ReusedKey:
            return {"1006", "调用密钥已使用"};
        case ServiceError::UnknownFunction:
            return {"1007", "未知的功能"};
        case ServiceError::UnknownApp:
            return {"1008", "未知的应用"};
        case ServiceError::BadParameters:
            return {"1009", "参数错误"};
        case ServiceError::TooLong:
            return {"1010", "请求过长"};
        case ServiceError::NoDraws:
            return {"1011", "暂无开奖数据"};
        case ServiceError::Internal:
            return {"1099", "服务器内部错误"};
    }
    return {"1099", "服务器内部错误"};
}

}  // namespace pk10
