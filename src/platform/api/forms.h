// The windowing layer: the application object, the one form, its messages and the general error.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "platform/api/wintypes.h"

// The general error type: an error that carries only its message text.
class Exception : public std::runtime_error {
  public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// The silent error: it ends the operation under way, and the application shows nothing for it.
class EAbort : public std::exception {
  public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// One window message as the form's handler sees it; the handler may set Result.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Sent when the window manager's close button is pressed; not a message the game sends itself.
inline constexpr UINT WM_CLOSE = 0x0010;
// Sent when the session ends or the program is asked to terminate (SIGTERM, SIGINT): the
// program ends at once, keeping what it must keep.
inline constexpr UINT WM_ENDSESSION = 0x0016;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

struct TCreateParams {
    std::string Caption;
    DWORD ExStyle = 0;
};

// The top-level window. Its handlers run only inside TApplication::ProcessMessages.
class TForm {
  public:
    TForm();
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    HWND Handle() const;
    // Asks for the form to close; the application's message loop ends when the current
    // handler returns.
    void Close();
    bool CloseRequested() const { return closeRequested_; }

    // Called by the application when the window is first shown and on every later activation.
    virtual void FormActivate() {}
    virtual void FormMouseDown(TMouseButton, int, int) {}
    virtual void FormMouseUp(TMouseButton, int, int) {}
    // The window-message handler; the default handling is DefaultHandler.
    virtual void WndProc(TMessage& message) { DefaultHandler(message); }
    // The window-creation hook: caption and extended style.
    virtual void CreateParams(TCreateParams& params);

    const TCreateParams& Params() const { return params_; }

  protected:
    void DefaultHandler(TMessage& message);

  private:
    friend class TApplication;
    TCreateParams params_;
    bool closeRequested_ = false;
};

// The application object: owns the message loop and the handler of uncaught errors.
class TApplication {
  public:
    using ExceptionHandler = std::function<void(const std::exception&)>;

    void Initialize();
    // Creates the window for the form, activates it and pumps messages until it has closed.
    // Errors escaping a handler go to OnException, or to ShowException when none is set.
    void Run(TForm& form);
    // Delivers every pending message to the form's handlers.
    void ProcessMessages();
    void ShowException(const std::exception& error);
    // Whether the last Run ended on an error that escaped the form's handlers (shown, or
    // already told, as a failure at start is).
    bool EndedOnError() const { return endedOnError_; }

    ExceptionHandler OnException;

  private:
    TForm* form_ = nullptr;
    bool deactivated_ = false;
    bool endedOnError_ = false;
};

extern TApplication Application;
