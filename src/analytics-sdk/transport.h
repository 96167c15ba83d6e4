#pragma once

#include <string>

namespace analytics_sdk {

// Where a batch goes. Send blocks until the upload has finished or failed; it is called
// with the store's flush lock held, so never by two threads at once.
class Transport {
  public:
    virtual ~Transport() = default;
    // `batchText` is the JSON array of the batch's records. True when it was accepted.
    virtual bool Send(const std::string& batchText) = 0;
};

}  // namespace analytics_sdk
