// The program's push button: a flat face with its caption centred, a click on
// press and release inside, Space or Enter when it has the focus.
#pragma once

#include "controls/owner_drawn_win.h"

#include <windows.h>

#include <functional>

namespace qorvic {

class Button : public OwnerDrawnControl {
public:
    Button();

    bool Create(HWND parent, int x, int y, int width, int height, int index = 0);

    std::function<void()> onClick;

protected:
    void Paint(HDC dc, const RECT& client) override;
    void OnClicked() override;
    long AccRole(long) const override { return ROLE_SYSTEM_PUSHBUTTON; }
    std::wstring AccDefaultAction(long) const override { return L"Press"; }
};

} // namespace qorvic
