// The one class descriptor the library hands to the host.
#pragma once

#include "hostsdk/max.h"

const Class_ID kDazAzuClassId(0x261C6DFC, 0x73B4766E);

class DazAzuClassDesc : public ClassDesc {
  public:
    int IsPublic() override;
    void* Create(BOOL loading = FALSE) override;
    const char* ClassName() override;
    SClass_ID SuperClassID() override;
    Class_ID ClassID() override;
    const char* Category() override;
};

// The library's static descriptor; the same object on every call.
DazAzuClassDesc* GetDazAzuClassDesc();
