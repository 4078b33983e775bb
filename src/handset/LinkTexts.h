#pragma once

#include <QtGlobal>

// What the link and its transfers say when they fail or wait, in English. They
// are shown translated (VedORovavException::localizedReason), in the context of
// the link's facade, VedORovav, whichever layer raised them.
namespace LinkTexts
{

// The link itself.
inline constexpr const char* NotConnected =
    QT_TRANSLATE_NOOP("VedORovav", "The AIR-EDGE PHONE wasn't connected.");
inline constexpr const char* CouldNotOpen =
    QT_TRANSLATE_NOOP("VedORovav", "Couldn't open a port for the AIR-EDGE PHONE.");
inline constexpr const char* CouldNotSetOptions =
    QT_TRANSLATE_NOOP("VedORovav", "Couldn't set the serial port options.");
inline constexpr const char* CouldNotWrite =
    QT_TRANSLATE_NOOP("VedORovav", "Couldn't write the serial port.");
inline constexpr const char* CouldNotRead = QT_TRANSLATE_NOOP("VedORovav", "Couldn't read the serial port.");
inline constexpr const char* IllegalLength =
    QT_TRANSLATE_NOOP("VedORovav", "An illiegal length data was received.");
inline constexpr const char* NotTopScreen =
    QT_TRANSLATE_NOOP("VedORovav", "The AIR-EDGE PHONE wasn't the top screen.");
inline constexpr const char* NoAnswer = QT_TRANSLATE_NOOP("VedORovav", "The AIR-EDGE PHONE didn't answer.");
inline constexpr const char* Disconnected =
    QT_TRANSLATE_NOOP("VedORovav", "The AIR-EDGE PHONE was disconnected.");
inline constexpr const char* Cancelled = QT_TRANSLATE_NOOP("VedORovav", "The transfer was cancelled.");
inline constexpr const char* StillSending = QT_TRANSLATE_NOOP(
    "VedORovav", "The AIR-EDGE PHONE is still sending data from an interrupted transfer…");
inline constexpr const char* BadTimeout =
    QT_TRANSLATE_NOOP("VedORovav", "The time limit in EDGEMARKS_TIMEOUT is not a number of seconds.");
// The transfers.
inline constexpr const char* IllegalFormat =
    QT_TRANSLATE_NOOP("VedORovav", "An illiegal format data was received.");
inline constexpr const char* TooManyBookmarks =
    QT_TRANSLATE_NOOP("VedORovav", "Too many bookmarks exist. Up to 100 bookmarks can be registered.");
inline constexpr const char* NoSuccessCode =
    QT_TRANSLATE_NOOP("VedORovav", "The AIR-EDGE PHONE didn't return the success code.");
inline constexpr const char* BookmarkTooLong = QT_TRANSLATE_NOOP(
    "VedORovav", "A bookmark's name and location are too long to be written into the AIR-EDGE PHONE.");
inline constexpr const char* NumberOutOfRange = QT_TRANSLATE_NOOP(
    "VedORovav", "A memory number must be between 0 and 99 to be written into the AIR-EDGE PHONE.");
// The file transfers.
inline constexpr const char* TestingConnection = QT_TRANSLATE_NOOP("VedORovav", "Testing the connection...");
inline constexpr const char* UpdatingFileList = QT_TRANSLATE_NOOP("VedORovav", "Updating the file list...");
inline constexpr const char* BadFileName = QT_TRANSLATE_NOOP(
    "VedORovav", "A character that cannot be used at the AIR-EDGE PHONE is included in the file name.");
inline constexpr const char* FileNameTooLong = QT_TRANSLATE_NOOP("VedORovav", "The file name is too long.");
inline constexpr const char* FileNotFound =
    QT_TRANSLATE_NOOP("VedORovav", "The specified file was not found.");
inline constexpr const char* CouldNotCreateFile = QT_TRANSLATE_NOOP("VedORovav", "Couldn't create a file.");
inline constexpr const char* CouldNotWriteFile = QT_TRANSLATE_NOOP("VedORovav", "Couldn't write a file.");
inline constexpr const char* CouldNotReadFile = QT_TRANSLATE_NOOP("VedORovav", "Couldn't read a file.");
inline constexpr const char* FileTooLarge =
    QT_TRANSLATE_NOOP("VedORovav", "The file is too large to be sent to the AIR-EDGE PHONE.");
inline constexpr const char* FileShrank =
    QT_TRANSLATE_NOOP("VedORovav", "A file became shorter while it was sent to the AIR-EDGE PHONE.");
inline constexpr const char* NoDestination =
    QT_TRANSLATE_NOOP("VedORovav", "No place to save a downloaded file was given.");

} // namespace LinkTexts
