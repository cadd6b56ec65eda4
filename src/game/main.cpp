// The program entry: the application, the game form and the errors that escape them.
#include <new>

#include "assets/baked_resources.h"
#include "game/znform.h"
#include "platform/gamefolders.h"
#include "platform/msgbox.h"
#include "platform/resources.h"

int main() {
    try {
        platform::SetUpGameFolders();
        platform::SetModuleResources(BakedResources());
        Application.Initialize();
        TKestovForm form;
        Application.Run(form);
    } catch (const std::bad_alloc&) {
        MessageBoxA(nullptr, "Out of memory error", "Zintrel", MB_OK);
    } catch (const Exception& error) {
        Application.ShowException(error);
    } catch (...) {
        MessageBoxA(nullptr, "Unknown exception", "Zintrel", MB_OK);
    }
    return 0;
}
