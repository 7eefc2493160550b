// The program's check box: a square that the user ticks by clicking, with its
// caption beside it, drawn over what lies behind it.
#pragma once

#include "controls/owner_drawn_win.h"

#include <windows.h>

#include <functional>

namespace qorvic {

class CheckBox : public OwnerDrawnControl {
public:
    CheckBox();

    bool Create(HWND parent, int x, int y, int width, int height, int index = 0);

    bool Value() const { return value_; }
    // Sets the tick without a click notification.
    void SetValue(bool value);

    // A click (mouse, or Space when focused) toggles Value, then calls this.
    std::function<void()> onClick;

protected:
    void Paint(HDC dc, const RECT& client) override;
    void OnClicked() override;
    long AccRole(long) const override { return ROLE_SYSTEM_CHECKBUTTON; }
    long AccState(long) const override { return value_ ? STATE_SYSTEM_CHECKED : 0; }
    std::wstring AccDefaultAction(long) const override { return value_ ? L"Uncheck" : L"Check"; }

private:
    bool value_ = false;
};

} // namespace qorvic
