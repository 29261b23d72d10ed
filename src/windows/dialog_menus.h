// Menu states shared by the two dictionary dialogs.
#pragma once

// Closing either dialog closes both; afterwards any dictionary and direction
// may be chosen again.
void EnableDictionaryMenus();
