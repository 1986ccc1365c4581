// The host's defaults of the class descriptor.
#include "hostsdk/plugapi.h"

#include <cstring>

ClassDesc::ClassDesc() : interfaces(nullptr), interfaceCount(0) {}

ClassDesc::~ClassDesc() { zfree(interfaces); }

const char* ClassDesc::GetRsrcString(long id) { return nullptr; }

// The stand-in publishes no interfaces of its own and cannot ask one for its
// id, so no lookup ever matches.
FPInterface* ClassDesc::GetInterface(Interface_ID id) { return nullptr; }

// The list grows on the host heap; an interface is dropped when it cannot.
void ClassDesc::AddInterface(FPInterface* fpi) {
    if (!fpi) return;
    FPInterface** fresh =
        static_cast<FPInterface**>(MAX_malloc(sizeof(FPInterface*) * size_t(interfaceCount + 1)));
    if (!fresh) return;
    if (interfaceCount > 0)
        std::memcpy(fresh, interfaces, sizeof(FPInterface*) * size_t(interfaceCount));
    fresh[interfaceCount] = fpi;
    zfree(interfaces);
    interfaces = fresh;
    ++interfaceCount;
}
