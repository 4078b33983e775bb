#pragma once

// What the handset holds: the bookmarks it keeps, its folders, and its memory
// numbers 0 to MemoryNumbers - 1.
namespace HandsetLimits
{

inline constexpr int MaxBookmarks = 100;
inline constexpr int FolderCount = 20;
inline constexpr int MemoryNumbers = 100;

} // namespace HandsetLimits
