#pragma once
// The Windows build's check of the Chinese faces in the system's Fonts folder.

#include <string>

namespace tav {

// Empty when the Fonts folder holds a face for Chinese text; otherwise a message for the player
// naming the folder and the files looked for (UTF-8).
std::string missing_chinese_faces();

} // namespace tav
