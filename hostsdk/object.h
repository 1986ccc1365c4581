// Host objects: released only through ReferenceMaker::DeleteMe, inside the
// host's own library.
#pragma once

#include "hostsdk/mesh.h"
#include "hostsdk/strclass.h"

class HOSTSDK_API Animatable : public MaxHeapOperators {
public:
    Animatable();  // counted by HostLiveObjectCount
    virtual ~Animatable();
    Animatable(const Animatable&) = delete;  // host objects are owned, never copied
    Animatable& operator=(const Animatable&) = delete;
    virtual Class_ID ClassID() = 0;
    virtual SClass_ID SuperClassID() = 0;
};

class HOSTSDK_API ReferenceMaker : public Animatable {
public:
    void DeleteMe();  // releases the object (deletes it through the host heap)
};

class HOSTSDK_API ReferenceTarget : public ReferenceMaker {};

class HOSTSDK_API Object : public ReferenceTarget {};

class HOSTSDK_API TriObject : public Object {
public:
    Class_ID ClassID() override { return TRIOBJ_CLASS_ID; }
    SClass_ID SuperClassID() override { return GEOMOBJECT_CLASS_ID; }
    Mesh& GetMesh() { return mesh; }

    Mesh mesh;
};

// A new, empty triangle object, or null when memory cannot be had.
HOSTSDK_API TriObject* CreateNewTriObject();

// Number of host objects alive (test hook: leaks and double releases show here).
HOSTSDK_API int HostLiveObjectCount();
