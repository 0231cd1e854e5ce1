// Exit statuses, ordered so that the worst of several files is the largest.
#ifndef KESTRUNE_TOOL_STATUS_H
#define KESTRUNE_TOOL_STATUS_H

namespace kestrune_tool {

inline constexpr int kYes = 0;
inline constexpr int kNo = 1;
inline constexpr int kTrouble = 2;

}  // namespace kestrune_tool

#endif
