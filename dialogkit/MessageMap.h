// Message maps: each class lists its handlers by message and control ID in one table.
//
//   const dk::MessageMap* CMyDlg::GetMessageMap() const {
//       static const auto map = dk::makeMessageMap<CMyDlg>(
//           dk::onClicked(IDC_LOAD, &CMyDlg::OnLoad),
//           dk::onPaint(&CMyDlg::OnPaint));
//       return &map;
//   }
//
// A new kind of message is added in four places: the Message enumerator (and byId when handlers
// are chosen by control ID), the data it carries in MessageArgs, a handler pointer and a maker
// below when the handler's signature is new, and the DialogWindow event that sends it.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "dialogkit/Types.h"

namespace vorlane::dk {

class PaintContext;
class CCmdTarget;

enum class Message {
    Command,        // button clicked, menu or accelerator command; by ID
    SelChange,      // combo-box selection changed by the user; by ID
    HScroll,        // an up-down control stepped; handler gets its ID
    Paint,          // handler gets the paint context
    SysCommand,     // window-menu command; handler gets the command ID
    DropFiles,      // a file was dropped on the window; handler gets its path
    Change,         // a control's value was changed by the user; by ID
    LButtonDblClk,  // double-click on the client area outside any control; handler gets the point
};

// Whether a message finds its handler by the control or command ID it comes with.
constexpr bool byId(Message m) {
    return m == Message::Command || m == Message::SelChange || m == Message::Change;
}

// Extra data a message carries to its handler.
struct MessageArgs {
    int value = 0;                      // HScroll: control ID; SysCommand: command ID
    PaintContext* paint = nullptr;      // Paint
    const std::string* path = nullptr;  // DropFiles
    Point point;                        // LButtonDblClk, in client coordinates
};

class MessageMap {
  public:
    virtual ~MessageMap() = default;
    // Runs the handler for (message, id) on `target`; false when the table has none.
    virtual bool dispatch(CCmdTarget& target, Message message, int id,
                          const MessageArgs& args) const = 0;
};

template <class T>
struct MessageEntry {
    Message message;
    int id;  // control or command ID; ignored unless byId(message)
    void (T::*plain)() = nullptr;
    void (T::*withValue)(int) = nullptr;
    void (T::*withPaint)(PaintContext&) = nullptr;
    void (T::*withPath)(const std::string&) = nullptr;
    void (T::*withPoint)(Point) = nullptr;

    bool matches(Message m, int i) const { return m == message && (!byId(m) || i == id); }
};

template <class T>
constexpr MessageEntry<T> onClicked(int id, void (T::*handler)()) {
    return {Message::Command, id, handler, nullptr, nullptr, nullptr};
}
template <class T>
constexpr MessageEntry<T> onCommand(int id, void (T::*handler)()) {
    return {Message::Command, id, handler, nullptr, nullptr, nullptr};
}
template <class T>
constexpr MessageEntry<T> onSelChange(int id, void (T::*handler)()) {
    return {Message::SelChange, id, handler, nullptr, nullptr, nullptr};
}
template <class T>
constexpr MessageEntry<T> onHScroll(void (T::*handler)(int)) {
    return {Message::HScroll, 0, nullptr, handler, nullptr, nullptr};
}
template <class T>
constexpr MessageEntry<T> onSysCommand(void (T::*handler)(int)) {
    return {Message::SysCommand, 0, nullptr, handler, nullptr, nullptr};
}
template <class T>
constexpr MessageEntry<T> onPaint(void (T::*handler)(PaintContext&)) {
    return {Message::Paint, 0, nullptr, nullptr, handler, nullptr};
}
template <class T>
constexpr MessageEntry<T> onDropFiles(void (T::*handler)(const std::string&)) {
    return {Message::DropFiles, 0, nullptr, nullptr, nullptr, handler};
}

template <class T>
constexpr MessageEntry<T> onChange(int id, void (T::*handler)()) {
    return {Message::Change, id, handler, nullptr, nullptr, nullptr};
}
template <class T>
constexpr MessageEntry<T> onLButtonDblClk(void (T::*handler)(Point)) {
    return {Message::LButtonDblClk, 0, nullptr, nullptr, nullptr, nullptr, handler};
}

template <class T, std::size_t N>
class MessageTable : public MessageMap {
  public:
    explicit MessageTable(const std::array<MessageEntry<T>, N>& entries) : entries_(entries) {}

    bool dispatch(CCmdTarget& target, Message message, int id,
                  const MessageArgs& args) const override {
        T& self = static_cast<T&>(target);
        for (const MessageEntry<T>& entry : entries_) {
            if (!entry.matches(message, id)) {
                continue;
            }
            if (entry.plain != nullptr) {
                (self.*entry.plain)();
            } else if (entry.withValue != nullptr) {
                (self.*entry.withValue)(args.value);
            } else if (entry.withPaint != nullptr && args.paint != nullptr) {
                (self.*entry.withPaint)(*args.paint);
            } else if (entry.withPath != nullptr && args.path != nullptr) {
                (self.*entry.withPath)(*args.path);
            } else if (entry.withPoint != nullptr) {
                (self.*entry.withPoint)(args.point);
            }
            return true;
        }
        return false;
    }

  private:
    std::array<MessageEntry<T>, N> entries_;
};

template <class T, class... Entries>
MessageTable<T, sizeof...(Entries)> makeMessageMap(Entries... entries) {
    return MessageTable<T, sizeof...(Entries)>(
        std::array<MessageEntry<T>, sizeof...(Entries)>{MessageEntry<T>(entries)...});
}

// Anything that receives messages: dialogs and the application.
class CCmdTarget {
  public:
    virtual ~CCmdTarget() = default;
    virtual const MessageMap* GetMessageMap() const { return nullptr; }
};

}  // namespace vorlane::dk
