#pragma once

#include <cstdint>

class Client;

namespace rewards {

// Hides the jade-task panel.
void HideJadeTask(Client& c);

// Resets the jade-task state, reads jadetask.xml, places the (hidden)
// jade-task panel and lays out the (hidden) jade display.
void InitJadeTask(Client& c);

// Reads jadetask.xml of the program's folder into JadeLevels and JadeTasks;
// false (and both tables with their one empty entry) when the file is
// missing or holds no document.
bool LoadJadeTaskXml(Client& c);

// Shows the jade display for JadeRewardText: the animation, the frame and
// one digit picture per character, centred on the frame.
void ShowJadeReward(Client& c);

// Stops the prop plug-in when it runs; flag 1 at unload, 0 otherwise.
void ExitPropPlugin(Client& c, int16_t flag);

} // namespace rewards
