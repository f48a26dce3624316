#pragma once
// The keys the windows' rules react to, as Windows virtual-key codes. Each
// front-end turns its own key events into these before it asks a form.

namespace tavo::forms::keys {

inline constexpr int kCancel = 3;  // Ctrl+Break
inline constexpr int kReturn = 13;
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kDelete = 46;
inline constexpr int kLetterI = 'I';
inline constexpr int kLetterO = 'O';

// A focused button (a flat button, a colour selector) is clicked by Enter
// as by Space.
constexpr bool ClicksButton(int key) { return key == kReturn || key == kSpace; }

}  // namespace tavo::forms::keys
