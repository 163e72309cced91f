#pragma once

#include "window/control_facts.h"

class COrvaneDlg;
class CPngButton;
namespace framework {
class Control;
}

// Which member of the main window a row is about.
struct ControlMember {
    framework::Control& (*control)(COrvaneDlg& dialog) noexcept;
    CPngButton* (*button)(COrvaneDlg& dialog) noexcept;  // the same member when it is an image button
};

// One control of the main window: its member, the facts that drive binding, placement, font,
// text, colour, pages and button images, and the handler of its click.
struct ControlRow {
    ControlMember member;
    ControlFacts facts;
    void (COrvaneDlg::*onClick)() noexcept;
};
