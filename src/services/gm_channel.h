#pragma once

class Client;

namespace services {

// Sets up the customer-service channel for a new table.
void InitUdpChannel(Client& c);

} // namespace services
