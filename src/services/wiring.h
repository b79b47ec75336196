#pragma once

class Client;

namespace services {

// Connects the subsystem to the table window once the composition root has
// filled in the table side and the hooks: makes the three timers and the
// icon's pictures, and gives the table window's controls of the services
// (the customer-service icon, the report button, the membership badges, the
// jade-exchange button, the pay buttons and the video-site prompt) their
// handlers.
void WireServices(Client& c);

} // namespace services
