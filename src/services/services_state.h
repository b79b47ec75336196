#pragma once

#include <QByteArray>
#include <cstdint>

namespace services {

// The customer-service subsystem's own state.
struct ServicesState {
    QByteArray GmUserName;
    QByteArray GmAccount;
    int16_t GmServiceOn = 0;
};

} // namespace services
