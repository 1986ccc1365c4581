// What a plug-in implements: the class descriptor and the scene importer.
#pragma once

#include "hostsdk/interface.h"

typedef int Interface_ID;
class FPInterface;

// Virtual slots in the host's order; the defaults are the host's own.
class HOSTSDK_API ClassDesc : public MaxHeapOperators {
public:
    ClassDesc();
    virtual ~ClassDesc();  // frees the list of published interfaces (zfree)
    virtual int IsPublic() = 0;
    virtual void* Create(BOOL loading = FALSE) = 0;
    virtual const char* ClassName() = 0;
    virtual SClass_ID SuperClassID() = 0;
    virtual Class_ID ClassID() = 0;
    virtual const char* Category() = 0;
    virtual const char* InternalName() { return nullptr; }
    virtual HINSTANCE HInstance() { return nullptr; }
    virtual int NumActionTables() { return 0; }
    virtual BOOL IsManipulator() { return FALSE; }
    virtual int NumParamBlockDescs() { return 0; }
    virtual int NumParamMaps() { return 0; }
    virtual BOOL NeedsToSave() { return FALSE; }
    virtual DWORD InitialRollupPageState() { return 0x7FFFFFFF; }
    virtual const char* GetRsrcString(long id);
    virtual FPInterface* GetInterface(Interface_ID id);
    virtual void AddInterface(FPInterface* fpi);

private:
    FPInterface** interfaces;
    int interfaceCount;
};

class HOSTSDK_API SceneImport : public MaxHeapOperators {
public:
    SceneImport() {}
    virtual ~SceneImport() {}
    virtual int ExtCount() = 0;
    virtual const char* Ext(int n) = 0;
    virtual const char* LongDesc() = 0;
    virtual const char* ShortDesc() = 0;
    virtual const char* AuthorName() = 0;
    virtual const char* CopyrightMessage() = 0;
    virtual const char* OtherMessage1() = 0;
    virtual const char* OtherMessage2() = 0;
    virtual unsigned int Version() = 0;
    virtual void ShowAbout(HWND hWnd) = 0;
    virtual int DoImport(const char* name, ImpInterface* ii, Interface* i,
                         BOOL suppressPrompts = FALSE) = 0;
    virtual int ZoomExtents() { return -1; }  // 1: zoom the views to the extents
};

// DoExport's options bit: only the selected nodes are written.
const DWORD SCENE_EXPORT_SELECTED = 1;

class HOSTSDK_API SceneExport : public MaxHeapOperators {
public:
    SceneExport() {}
    virtual ~SceneExport() {}
    virtual int ExtCount() = 0;
    virtual const char* Ext(int n) = 0;
    virtual const char* LongDesc() = 0;
    virtual const char* ShortDesc() = 0;
    virtual const char* AuthorName() = 0;
    virtual const char* CopyrightMessage() = 0;
    virtual const char* OtherMessage1() = 0;
    virtual const char* OtherMessage2() = 0;
    virtual unsigned int Version() = 0;
    virtual void ShowAbout(HWND hWnd) = 0;
    virtual int DoExport(const char* name, ExpInterface* ei, Interface* i,
                         BOOL suppressPrompts = FALSE, DWORD options = 0) = 0;
    virtual BOOL SupportsOptions(int ext, DWORD options) { return FALSE; }
};

// DoImport and DoExport results.
const int IMPEXP_FAIL = 0;
const int IMPEXP_SUCCESS = 1;
const int IMPEXP_CANCEL = 2;
