#pragma once
// The editing keys of the main window, whose meaning depends on whether a
// stone is in hand.

enum class TEditKey {
    ekBackspace,
    ekEnter,
    ekEscape,
    ekPageUp,
    ekPageDown,
    ekLeft,
    ekUp,
    ekRight,
    ekDown,
    ekInsert,
    ekDelete
};
