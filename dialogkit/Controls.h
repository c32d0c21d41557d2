// Handles through which dialog code reaches its controls by ID, in the manner of the classic
// control classes. A handle is attached by DDX_Control while the dialog's window exists; once the
// window is gone every call is a harmless no-op returning a neutral value.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "dialogkit/Types.h"

namespace vorlane::dk {

class CWnd {
  public:
    CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    void Attach(WindowHandle window);
    // The control attached; null before DDX_Control and once its window is gone.
    WindowHandle GetSafeHwnd() const;

  private:
    // The backend's weak reference to the control.
    struct Native;
    std::unique_ptr<Native> native_;
};

// Push buttons and check boxes.
class CButton : public CWnd {
  public:
    int GetCheck() const;  // 1 ticked, 0 clear
    void SetCheck(int check);
    void Click();  // as a mouse click: an automatic box toggles, then the handler runs
};

class CEdit : public CWnd {
  public:
    void SetReadOnly(bool readOnly = true);
};

// An unsorted drop-down list: indices are the order of AddString. -1 means no selection.
class CComboBox : public CWnd {
  public:
    int AddString(const std::string& text);  // the new item's index
    int GetCurSel() const;
    // Selects `index`; an index outside the list clears the selection and returns -1.
    int SetCurSel(int index);
};

class CSpinButtonCtrl : public CWnd {
  public:
    // Each bound is passed as a signed 16-bit value, as the control stores them.
    void SetRange(int lower, int upper);
    int SetPos(int position);  // clamped into the range; returns the previous position
    int GetPos() const;
};

// A grid of bits 8 wide, a row a byte, bit 7 the leftmost cell.
class CBitGrid : public CWnd {
  public:
    void SetRows(std::span<const uint8_t> rows);
    std::vector<uint8_t> GetRows() const;
    void SetColours(Rgb lit, Rgb unlit);
    Point GetCursor() const;  // column, row
};

}  // namespace vorlane::dk
