// One node of the destination model: a folder of the PC's shell namespace
// or of the handheld, built lazily one level per expansion. The destination
// tree shows nodes; the installation asks the selected one where it is.
#pragma once

#include <windows.h>
#include <shlobj.h>

// Node flags. A child starts from its parent's word; other bits are
// carried along untouched.
constexpr UINT FNF_FSONLY = 0x0001;         // keep only file-system folders and their ancestors
constexpr UINT FNF_INCLUDEFILES = 0x0002;   // list non-folders as well
constexpr UINT FNF_HASCHILDREN = 0x0004;    // has (or is expected to have) children
constexpr UINT FNF_ONDEVICE = 0x0200;       // lies on the handheld, listed through the device link
constexpr UINT FNF_DEVICEROOT = 0x0400;     // the handheld's own node
constexpr UINT FNF_NODEVICE = 0x0800;       // the root adds no handheld node

class CFolderNode;

class CFolderNodeVisitor
{
public:
    virtual ~CFolderNodeVisitor() = default;
    virtual BOOL Visit(CFolderNode*) { return FALSE; }
};

class CFolderNode
{
public:
    virtual ~CFolderNode() = default;
    virtual BOOL Accept(CFolderNodeVisitor* pVisitor) = 0;
    virtual void DeleteChildren() = 0;
    virtual void Enumerate() = 0;
    virtual CFolderNode* FindByIdList(LPCITEMIDLIST pidl) = 0;
    virtual CFolderNode* FindByPath(LPCSTR pszPath, int nLevel) = 0;
    virtual CFolderNode* FindChildById(LPCITEMIDLIST* ppidlCursor) = 0;
    virtual CFolderNode* FindChildByPath(LPCSTR pszPath, int nLevel) = 0;
    virtual CFolderNode* GetChild(UINT nIndex) = 0;
    virtual UINT GetChildCount() = 0;
    virtual CFolderNode* GetParent() = 0;
    virtual IShellFolder* GetShellFolder() { return nullptr; }
    virtual void SetEnumLevels(int nLevels) = 0;
    virtual void SetFlags(UINT nFlags) = 0;
    virtual UINT GetFlags() = 0;
    virtual BOOL IsEnumerated() = 0;
    virtual BOOL IsContainer() = 0;
    virtual BOOL IsFileSystem() = 0;
    virtual BOOL IsOnDevice() = 0;
    virtual BOOL IsNetworkRoot() = 0;
    virtual BOOL IsInNetwork() = 0;
    virtual BOOL HasChildren() = 0;
    virtual LPCSTR GetDisplayName() = 0;
    virtual LPCSTR GetDebugText() = 0;
    virtual LPCSTR GetPath() = 0;
    virtual LPCWSTR GetDevicePath() = 0;
    virtual BOOL IsSameIdList(LPCITEMIDLIST pidlAbsolute) = 0;
    virtual BOOL IsSameChildId(LPCITEMIDLIST pidl) = 0;
    virtual LPCITEMIDLIST GetRelativeIdList() = 0;
    virtual LPCITEMIDLIST GetAbsoluteIdList() = 0;
    virtual const SHFILEINFOA* GetIconInfo() = 0;
    virtual const SHFILEINFOA* GetOpenIconInfo() = 0;
    // Negative when this node sorts before pOther.
    virtual int Compare(CFolderNode* pOther) = 0;
    // Opens the node with its default verb; a bound folder opens nothing.
    virtual BOOL Execute() = 0;
};
