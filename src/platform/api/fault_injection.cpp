// Fault injection put in place. A file of its own, so that only the programs that inject faults
// (the tests) carry it.
#include "platform/api/services.h"

void platform::InjectFaults(FaultInjection* faults) {
    System().faults = faults;
}
