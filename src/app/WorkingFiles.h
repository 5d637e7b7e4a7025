#pragma once

namespace tevuna {

// Gives a new user a working application folder: Data/, source/DeskTopBG/, an empty notes
// database and the default background A1.bmp. Existing files are never touched.
void prepareWorkingFiles();

} // namespace tevuna
