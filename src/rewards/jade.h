#pragma once

class Client;

namespace rewards {

// Hides the jade-task panel.
void HideJadeTask(Client& c);

} // namespace rewards
