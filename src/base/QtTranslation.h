#pragma once

namespace tevuna {

// Loads Qt's own Simplified Chinese texts (message box buttons, the file and colour dialogs,
// the edit menus of text fields) into the running application. False when they are not
// installed: Qt's texts stay English, everything else works.
bool installQtTranslation();

} // namespace tevuna
