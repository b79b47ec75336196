#include "services/gm_channel.h"

#include "app/client.h"

namespace services {

void InitUdpChannel(Client&)
{
    // The customer-service datagrams come with the service windows; a new
    // table has nothing of them to set up yet.
}

} // namespace services
