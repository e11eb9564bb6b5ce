#pragma once

#include <string>

namespace morvane {

// Texts the user sees, exactly as the editor has always shown them (blanks included).
inline constexpr const char* CaptionNew = "Quillon's Morvane3D ";
inline constexpr const char* CaptionWithFilePrefix = "Quillon's Morvane3D - ";
inline std::string CaptionWithFile(const std::string& path) {
    return CaptionWithFilePrefix + path;
}

inline constexpr const char* OldFormatText = " Old 2D file format not supported ";
inline constexpr const char* ErrorOpeningText = "Error Opening the file!";

inline constexpr const char* InvalidRoomAboveText = " Invalid Room Above number ";
inline constexpr const char* InvalidRoomSideText = " Invalid Room Side number ";
inline constexpr const char* InvalidRoomBelowText = " Invalid Room Below number ";
inline constexpr const char* InvalidHeightText = " Invalid height!! ";
inline constexpr const char* InvalidPortalViewRoomText = "Invalid Portal View Room number!";

// Refusals at the document's capacities.
inline constexpr const char* TooManyRoomsText =
    "The project already holds 128 rooms, the most it can hold. No room was added.";
inline constexpr const char* TooManyPortalViewsText =
    "This room already has 20 portal views, the most a room can hold. No view was added.";

inline constexpr const char* RoomNamePrefix = "Room #";
inline constexpr const char* PortalViewPrefix = "Door #";
inline constexpr const char* NoCurrentRoomLabel = "None";

} // namespace morvane
