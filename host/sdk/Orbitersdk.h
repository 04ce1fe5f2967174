// Orbitersdk.h: the simulator SDK surface that Kavrex is written against.
//
// The plug-in includes this header and nothing of the stand-in host. Names, parameter types,
// constness and default arguments follow the simulator's SDK, so the same plug-in sources build
// against the real SDK on Windows; on this machine the functions are implemented by the host
// library (libkvhost). The header declares a few conveniences beyond the SDK (vector operators,
// VESSEL's handle constructor); it never declares anything differently.
#ifndef ORBITERSDK_H
#define ORBITERSDK_H

#include <cmath>
#include <cstdint>

// ---------------------------------------------------------------------------------------------
// Export markers
// ---------------------------------------------------------------------------------------------
#ifdef _WIN32
#define DLLCLBK extern "C" __declspec(dllexport)
#define OAPIFUNC __declspec(dllimport)
#else
#define DLLCLBK extern "C" __attribute__((visibility("default")))
#define OAPIFUNC __attribute__((visibility("default")))
#endif

// ---------------------------------------------------------------------------------------------
// The Windows subset
// ---------------------------------------------------------------------------------------------
#ifdef _WIN32
// On Windows the system declares the subset, as it does for the simulator's own SDK.
#include <windows.h>
#else
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef int16_t SHORT;
typedef int BOOL;
typedef unsigned int UINT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef DWORD COLORREF;

struct HINSTANCE__;
struct HWND__;
struct HDC__;
struct HPEN__;
struct HFONT__;
typedef HINSTANCE__ *HINSTANCE;
typedef HWND__ *HWND;
typedef HDC__ *HDC;
typedef HPEN__ *HPEN;
typedef HFONT__ *HFONT;
typedef void *HGDIOBJ;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define RGB(r, g, b) \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define VK_CONTROL 0x11

extern "C" {
OAPIFUNC HPEN CreatePen(int style, int width, COLORREF color);
OAPIFUNC BOOL DeleteObject(HGDIOBJ obj);
OAPIFUNC HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj);
OAPIFUNC COLORREF SetTextColor(HDC hdc, COLORREF color);
OAPIFUNC BOOL TextOutA(HDC hdc, int x, int y, const char *text, int length);
OAPIFUNC BOOL MoveToEx(HDC hdc, int x, int y, POINT *previous);
OAPIFUNC BOOL LineTo(HDC hdc, int x, int y);
OAPIFUNC BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
OAPIFUNC SHORT GetAsyncKeyState(int vkey);
}

// A message procedure's result: signed and pointer-sized, as on 64-bit Windows.
typedef intptr_t LRESULT;
#endif

// ---------------------------------------------------------------------------------------------
// Vectors and matrices
// ---------------------------------------------------------------------------------------------
typedef union {
    double data[3];
    struct {
        double x, y, z;
    };
} VECTOR3;

typedef union {
    double data[9];
    struct {
        double m11, m12, m13, m21, m22, m23, m31, m32, m33;
    };
} MATRIX3;

inline VECTOR3 _V(double x, double y, double z) {
    VECTOR3 v;
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}
inline double dotp(const VECTOR3 &a, const VECTOR3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline VECTOR3 crossp(const VECTOR3 &a, const VECTOR3 &b) {
    return _V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
inline double length(const VECTOR3 &a) { return std::sqrt(dotp(a, a)); }
inline VECTOR3 operator+(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x + b.x, a.y + b.y, a.z + b.z); }
inline VECTOR3 operator-(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x - b.x, a.y - b.y, a.z - b.z); }
inline VECTOR3 operator-(const VECTOR3 &a) { return _V(-a.x, -a.y, -a.z); }
inline VECTOR3 operator*(const VECTOR3 &a, double f) { return _V(a.x * f, a.y * f, a.z * f); }
inline VECTOR3 operator/(const VECTOR3 &a, double f) { return _V(a.x / f, a.y / f, a.z / f); }
inline VECTOR3 &operator+=(VECTOR3 &a, const VECTOR3 &b) { return a = a + b; }
inline VECTOR3 &operator-=(VECTOR3 &a, const VECTOR3 &b) { return a = a - b; }
inline VECTOR3 unit(const VECTOR3 &a) { return a / length(a); }
inline VECTOR3 mul(const MATRIX3 &m, const VECTOR3 &v) {
    return _V(m.m11 * v.x + m.m12 * v.y + m.m13 * v.z, m.m21 * v.x + m.m22 * v.y + m.m23 * v.z,
              m.m31 * v.x + m.m32 * v.y + m.m33 * v.z);
}
inline VECTOR3 tmul(const MATRIX3 &m, const VECTOR3 &v) {
    return _V(m.m11 * v.x + m.m21 * v.y + m.m31 * v.z, m.m12 * v.x + m.m22 * v.y + m.m32 * v.z,
              m.m13 * v.x + m.m23 * v.y + m.m33 * v.z);
}

// ---------------------------------------------------------------------------------------------
// Handles, enums, records
// ---------------------------------------------------------------------------------------------
typedef void *OBJHANDLE;
typedef void *FILEHANDLE;
typedef void *THRUSTER_HANDLE;
typedef void *THGROUP_HANDLE;
typedef void *PROPELLANT_HANDLE;

enum THGROUP_TYPE {
    THGROUP_MAIN = 0,
    THGROUP_RETRO = 1,
    THGROUP_HOVER = 2,
    THGROUP_ATT_PITCHUP = 3,
    THGROUP_ATT_PITCHDOWN = 4,
    THGROUP_ATT_YAWLEFT = 5,
    THGROUP_ATT_YAWRIGHT = 6,
    THGROUP_ATT_BANKLEFT = 7,
    THGROUP_ATT_BANKRIGHT = 8,
    THGROUP_ATT_RIGHT = 9,
    THGROUP_ATT_LEFT = 10,
    THGROUP_ATT_UP = 11,
    THGROUP_ATT_DOWN = 12,
    THGROUP_ATT_FORWARD = 13,
    THGROUP_ATT_BACK = 14,
    THGROUP_USER = 0x40
};

typedef struct {
    VECTOR3 rpos, rvel;
    VECTOR3 vrot;
    VECTOR3 arot;
    double fuel, eng_main, eng_hovr;
    OBJHANDLE rbody, base;
    int port, status;
    VECTOR3 vdata[10];
    double fdata[10];
    DWORD flag[10];
} VESSELSTATUS;

// The result of a display mode's message procedure. For OAPI_MSG_MFD_OPENED it carries the new
// instance's address, so it is pointer-sized wherever pointers are 64 bits wide.
#if defined(_WIN64) || (!defined(_WIN32) && INTPTR_MAX > INT32_MAX)
typedef LRESULT OAPI_MSGTYPE;
#else
typedef int OAPI_MSGTYPE;
#endif

typedef struct {
    char *name;
    DWORD key;
    OAPI_MSGTYPE (*msgproc)(UINT msg, UINT mfd, WPARAM wparam, LPARAM lparam);
} MFDMODESPEC;

// The extended mode record and the opening message's parameter (OAPI_MSG_MFD_OPENEDEX).
typedef struct {
    char *name;
    DWORD key;
    void *context;
    OAPI_MSGTYPE (*msgproc)(UINT msg, UINT mfd, WPARAM wparam, LPARAM lparam);
} MFDMODESPECEX;

typedef struct {
    DWORD w, h;
    MFDMODESPECEX *spec;
} MFDMODEOPENSPEC;

#pragma pack(push, 1)
typedef struct {
    const char *line1, *line2;
    char selchar;
} MFDBUTTONMENU;
#pragma pack(pop)

#define OAPI_MSG_MFD_OPENED 1
#define OAPI_MSG_MFD_CLOSED 2
#define OAPI_MSG_MFD_OPENEDEX 4

#define OAPI_KEY_Q 0x10
#define OAPI_KEY_W 0x11
#define OAPI_KEY_E 0x12
#define OAPI_KEY_R 0x13
#define OAPI_KEY_T 0x14
#define OAPI_KEY_Y 0x15
#define OAPI_KEY_U 0x16
#define OAPI_KEY_I 0x17
#define OAPI_KEY_O 0x18
#define OAPI_KEY_P 0x19
#define OAPI_KEY_A 0x1E
#define OAPI_KEY_S 0x1F
#define OAPI_KEY_D 0x20
#define OAPI_KEY_F 0x21
#define OAPI_KEY_G 0x22
#define OAPI_KEY_H 0x23
#define OAPI_KEY_J 0x24
#define OAPI_KEY_K 0x25
#define OAPI_KEY_L 0x26
#define OAPI_KEY_Z 0x2C
#define OAPI_KEY_X 0x2D
#define OAPI_KEY_C 0x2E
#define OAPI_KEY_V 0x2F
#define OAPI_KEY_B 0x30
#define OAPI_KEY_N 0x31
#define OAPI_KEY_M 0x32

#define PANEL_MOUSE_LBDOWN 0x01
#define PANEL_MOUSE_RBDOWN 0x02
#define PANEL_MOUSE_LBUP 0x04
#define PANEL_MOUSE_RBUP 0x08
#define PANEL_MOUSE_LBPRESSED 0x10
#define PANEL_MOUSE_RBPRESSED 0x20

// ---------------------------------------------------------------------------------------------
// Host functions
// ---------------------------------------------------------------------------------------------
OAPIFUNC int oapiRegisterMFDMode(MFDMODESPEC &spec);
OAPIFUNC bool oapiUnregisterMFDMode(int mode);
OAPIFUNC OBJHANDLE oapiGetFocusObject();
OAPIFUNC DWORD oapiGetGbodyCount();
OAPIFUNC OBJHANDLE oapiGetGbodyByIndex(int index);
OAPIFUNC void oapiGetObjectName(OBJHANDLE hObj, char *name, int n);
OAPIFUNC double oapiGetMass(OBJHANDLE hObj);
OAPIFUNC double oapiGetSize(OBJHANDLE hObj);
OAPIFUNC void oapiGetGlobalPos(OBJHANDLE hObj, VECTOR3 *pos);
OAPIFUNC void oapiGetGlobalVel(OBJHANDLE hObj, VECTOR3 *vel);
OAPIFUNC void oapiGetRelativePos(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *pos);
OAPIFUNC void oapiGetRelativeVel(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *vel);
OAPIFUNC void oapiGetRotationMatrix(OBJHANDLE hObj, MATRIX3 *mat);
OAPIFUNC double oapiGetSimMJD();
OAPIFUNC void oapiWriteScenario_string(FILEHANDLE scn, char *item, char *string);
OAPIFUNC bool oapiReadScenario_nextline(FILEHANDLE scn, char *&line);
OAPIFUNC void oapiOpenInputBox(char *title, bool (*Clbk)(void *id, char *str, void *usrdata),
                               char *buf = 0, int vislen = 20, void *usrdata = 0);
OAPIFUNC char *oapiDebugString();
OAPIFUNC int Date2Int(char *date);

// ---------------------------------------------------------------------------------------------
// class VESSEL: owned by the host; a plug-in only holds pointers to it
// ---------------------------------------------------------------------------------------------
class OAPIFUNC VESSEL {
public:
    VESSEL(const OBJHANDLE hVessel, int fmodel = 1);
    virtual ~VESSEL();

    const OBJHANDLE GetHandle() const;
    char *GetName() const;
    const OBJHANDLE GetGravityRef() const;
    double GetMass() const;
    bool GetWeightVector(VECTOR3 &G) const;
    void Global2Local(const VECTOR3 &global, VECTOR3 &local) const;
    void GetStatus(VESSELSTATUS &status) const;
    void GetPMI(VECTOR3 &pmi) const;
    void SetAttitudeRotLevel(int axis, double th) const;
    DWORD GetPropellantCount() const;
    PROPELLANT_HANDLE GetPropellantHandleByIndex(DWORD idx) const;
    double GetPropellantMass(PROPELLANT_HANDLE ph) const;
    double GetPropellantMaxMass(PROPELLANT_HANDLE ph) const;
    void SetPropellantMass(PROPELLANT_HANDLE ph, double mass) const;
    THGROUP_HANDLE GetThrusterGroupHandle(THGROUP_TYPE thgt) const;
    DWORD GetGroupThrusterCount(THGROUP_HANDLE thg) const;
    DWORD GetGroupThrusterCount(THGROUP_TYPE thgt) const;
    THRUSTER_HANDLE GetGroupThruster(THGROUP_HANDLE thg, DWORD idx) const;
    THRUSTER_HANDLE GetGroupThruster(THGROUP_TYPE thgt, DWORD idx) const;
    double GetThrusterMax0(THRUSTER_HANDLE th) const;
    double GetThrusterMax(THRUSTER_HANDLE th) const;
    void GetThrusterRef(THRUSTER_HANDLE th, VECTOR3 &pos) const;
    DWORD GetThrusterCount() const;
    THRUSTER_HANDLE GetThrusterHandleByIndex(DWORD idx) const;
    void SetThrusterLevel(THRUSTER_HANDLE th, double level) const;
    void SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const;

private:
    OBJHANDLE hVessel_;
    bool buried_ = false;        // the stand-in's mark of a deleted vessel's view
    friend struct VesselBurial;
};

// ---------------------------------------------------------------------------------------------
// class MFD: the cockpit display base that a display mode derives from
// ---------------------------------------------------------------------------------------------
class OAPIFUNC MFD {
public:
    MFD(DWORD w, DWORD h, VESSEL *vessel);
    virtual ~MFD();
    virtual void Update(HDC hDC) = 0;
    void InvalidateDisplay();
    void InvalidateButtons();
    virtual bool ConsumeKeyBuffered(DWORD /*key*/) { return false; }
    virtual bool ConsumeKeyImmediate(char * /*kstate*/) { return false; }
    virtual bool ConsumeButton(int /*bt*/, int /*event*/) { return false; }
    virtual char *ButtonLabel(int /*bt*/) { return 0; }
    virtual int ButtonMenu(const MFDBUTTONMENU ** /*menu*/) const { return 0; }
    virtual void WriteStatus(FILEHANDLE /*scn*/) const {}
    virtual void ReadStatus(FILEHANDLE /*scn*/) {}
    virtual void StoreStatus() const {}
    virtual void RecallStatus() {}

protected:
    DWORD W, H;
    DWORD cw, ch;
    VESSEL *pV;

private:
    friend struct MfdFontCell;   // the stand-in sets cw and ch once the constructor has returned
};

// ---------------------------------------------------------------------------------------------
// The module glue: one source of every module defines ORBITER_MODULE before including this
// header. Its reference to dummy() pulls the SDK's glue object out of the static library, and
// with it the load hook that calls the module's InitModule; without it the module loads and
// never starts. Two sources that define it do not link (calldummy and ModuleDate twice).
// ---------------------------------------------------------------------------------------------
#ifdef ORBITER_MODULE
void dummy();
void calldummy() { dummy(); }
DLLCLBK char *ModuleDate() { return (char *)__DATE__; }
#endif

#endif
