#pragma once

#include <string>

#include "service/service_client.h"
#include "ui/service_operations.h"

namespace pk10 {

// The shell's view of the program's real service client.
class ServiceClientOperations final : public ServiceOperations {
public:
    explicit ServiceClientOperations(ServiceClient& client) : client_(&client) {}

    bool init(std::string_view initUrl, std::int32_t appId) override {
        return client_->init(std::string(initUrl), appId);
    }
    std::string lastError() const override { return client_->lastError(); }
    void copySettings(AppSettings& target) const override { client_->copySettings(target); }
    bool newestDraw(std::vector<std::string>& fields) override {
        return client_->newestDraw(fields);
    }
    bool selectDraw(std::int32_t count, DrawTable& table) override {
        return client_->selectDraw(count, table);
    }
    std::string latestPeriod() override { return client_->latestPeriod(); }

private:
    ServiceClient* client_;
};

}  // namespace pk10
