#pragma once

#include <string>

#include "ui/product_settings.h"

#ifndef PK10_SERVICE_HOST
#define PK10_SERVICE_HOST "127.0.0.1"
#endif

namespace pk10 {

// This product. The plan name is not given, so it is the plan type.
inline ProductSettings productSettings() {
    ProductSettings p;
    p.title = "澜星PK10平刷冠军单双";
    p.exeBaseName = p.title;
    p.appId = 1112;
    p.planType = "冠军单双";
    p.version = "1.41";
    p.planName = p.planType;
    return p;
}

// The service's host is fixed when the program is built.
inline std::string defaultInitUrl() {
    return std::string("http://") + PK10_SERVICE_HOST + ":19300/appinit.php";
}
inline std::string defaultFallbackUrl() {
    return "http://127.0.0.1:19200/";
}

inline constexpr const char* kUpdaterFileName = "更新器.exe";

}  // namespace pk10
