// The application object, the form and the message pump that delivers the input source's
// events to the form's handlers.
#include "platform/api/forms.h"

#include <new>

#include "platform/api/cursor.h"
#include "platform/api/msgbox.h"
#include "platform/api/services.h"
#include "platform/session/recording.h"
#include "platform/session/session.h"

TApplication Application;

struct WindowHandle {};

namespace {

WindowHandle g_window;

}  // namespace

TForm::TForm() = default;
TForm::~TForm() = default;

HWND TForm::Handle() const {
    return &g_window;
}

void TForm::Close() {
    closeRequested_ = true;
}

void TForm::CreateParams(TCreateParams&) {}

void TForm::DefaultHandler(TMessage& message) {
    message.Result = 0;
}

void TApplication::Initialize() {
    platform::System().windows->Start();
}

void TApplication::Run(TForm& form) {
    form_ = &form;
    form.CreateParams(form.params_);
    platform::System().windows->Open(form.params_.Caption);
    // The window system activates the application when its window first shows.
    platform::System().queue.push_front(platform::MessageEvent(WM_ACTIVATEAPP, 1));
    deactivated_ = false;
    endedOnError_ = false;
    try {
        form.FormActivate();
        while (!form.CloseRequested()) {
            ProcessMessages();
        }
    } catch (const platform::ReplayParted&) {
        // A replay that parted from its record ends here; its session holds the report.
    } catch (const std::exception& error) {
        endedOnError_ = true;
        if (OnException) {
            OnException(error);
        } else {
            ShowException(error);
        }
    }
    platform::System().windows->Close();
    form_ = nullptr;
    // The handler a form set belongs to its run: a later form must not call into this one.
    OnException = nullptr;
}

void TApplication::ShowException(const std::exception& error) {
    if (dynamic_cast<const EAbort*>(&error) != nullptr) {
        return;
    }
    const bool outOfMemory = dynamic_cast<const std::bad_alloc*>(&error) != nullptr;
    MessageBoxA(nullptr, outOfMemory ? "Out of memory error" : error.what(), "Zintrel", MB_OK);
}

void TApplication::ProcessMessages() {
    platform::Services& sys = platform::System();
    sys.input->Poll(++sys.pass, sys.queue);
    platform::SessionInput(sys.queue);
    while (!sys.queue.empty() && form_ != nullptr) {
        platform::InputEvent event = sys.queue.front();
        sys.queue.pop_front();
        platform::SessionDelivered(event);
        const POINT& at = sys.cursor;
        switch (event.kind) {
            case platform::InputEvent::Kind::Message:
                form_->WndProc(event.message);
                break;
            case platform::InputEvent::Kind::MouseDown:
                form_->FormMouseDown(event.button, at.x, at.y);
                break;
            case platform::InputEvent::Kind::MouseUp:
                form_->FormMouseUp(event.button, at.x, at.y);
                break;
            case platform::InputEvent::Kind::MouseMove:
                platform::MoveCursor(event.dx, event.dy);
                break;
            case platform::InputEvent::Kind::Focus: {
                sys.windows->FocusChanged(event.active);
                TMessage message{WM_ACTIVATEAPP, event.active ? 1u : 0u, 0, 0};
                form_->WndProc(message);
                // Coming back from another application activates the form again.
                if (event.active && deactivated_) {
                    form_->FormActivate();
                }
                deactivated_ = !event.active;
                break;
            }
            case platform::InputEvent::Kind::SurfacesLost:
                sys.windows->DropSurfaces();
                break;
        }
    }
}
