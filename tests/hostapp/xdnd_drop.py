#!/usr/bin/env python3
# Drops files onto the window under a screen point as a file manager does,
# through the X drag-and-drop protocol (XDND):
#   xdnd_drop.py X Y FILE...     waits up to 30 s for a window there that takes drops
#   xdnd_drop.py --close X Y     asks the top-level window there to close
# Exits with 0 when the drop was accepted and finished (or the close sent).
import ctypes, ctypes.util, sys, time
from ctypes import c_int, c_long, c_ulong, c_char_p, c_void_p, POINTER, byref, Structure, Union, c_uint, c_ubyte

X = ctypes.CDLL(ctypes.util.find_library("X11"))
Window = c_ulong; Atom = c_ulong
X.XOpenDisplay.restype = c_void_p
X.XOpenDisplay.argtypes = [c_char_p]
X.XDefaultRootWindow.restype = Window; X.XDefaultRootWindow.argtypes = [c_void_p]
X.XInternAtom.restype = Atom; X.XInternAtom.argtypes = [c_void_p, c_char_p, c_int]
X.XCreateSimpleWindow.restype = Window
X.XCreateSimpleWindow.argtypes = [c_void_p, Window, c_int, c_int, c_uint, c_uint, c_uint, c_ulong, c_ulong]
X.XSetSelectionOwner.argtypes = [c_void_p, Atom, Window, c_ulong]
X.XTranslateCoordinates.argtypes = [c_void_p, Window, Window, c_int, c_int, POINTER(c_int), POINTER(c_int), POINTER(Window)]
X.XGetWindowProperty.argtypes = [c_void_p, Window, Atom, c_long, c_long, c_int, Atom, POINTER(Atom), POINTER(c_int), POINTER(c_ulong), POINTER(c_ulong), POINTER(c_void_p)]
X.XChangeProperty.argtypes = [c_void_p, Window, Atom, Atom, c_int, c_int, c_char_p, c_int]
X.XSendEvent.argtypes = [c_void_p, Window, c_int, c_long, c_void_p]
X.XNextEvent.argtypes = [c_void_p, c_void_p]
X.XPending.argtypes = [c_void_p]
X.XFlush.argtypes = [c_void_p]

class XClientMessageEvent(Structure):
    _fields_ = [("type", c_int), ("serial", c_ulong), ("send_event", c_int), ("display", c_void_p),
                ("window", Window), ("message_type", Atom), ("format", c_int), ("l", c_long * 5)]
class XSelectionRequestEvent(Structure):
    _fields_ = [("type", c_int), ("serial", c_ulong), ("send_event", c_int), ("display", c_void_p),
                ("owner", Window), ("requestor", Window), ("selection", Atom), ("target", Atom),
                ("property", Atom), ("time", c_ulong)]
class XSelectionEvent(Structure):
    _fields_ = [("type", c_int), ("serial", c_ulong), ("send_event", c_int), ("display", c_void_p),
                ("requestor", Window), ("selection", Atom), ("target", Atom), ("property", Atom), ("time", c_ulong)]
class XEvent(Union):
    _fields_ = [("type", c_int), ("xclient", XClientMessageEvent), ("xselectionrequest", XSelectionRequestEvent),
                ("pad", c_long * 24)]

ClientMessage, SelectionRequest, SelectionNotify = 33, 30, 31
d = X.XOpenDisplay(None)
root = X.XDefaultRootWindow(d)
A = lambda n: X.XInternAtom(d, n.encode(), 0)
close = sys.argv[1] == "--close"
args = sys.argv[2:] if close else sys.argv[1:]
x, y = int(args[0]), int(args[1]); files = args[2:]
uri = "".join("file://" + f + "\r\n" for f in files).encode()

def target_at(x, y):
    # The topmost window at (x, y) that declares XdndAware, searching down from the root.
    w = root; found = 0
    while True:
        aware = Atom(); fmt = c_int(); n = c_ulong(); after = c_ulong(); data = c_void_p()
        X.XGetWindowProperty(d, w, A("XdndAware"), 0, 1, 0, 0, byref(aware), byref(fmt), byref(n), byref(after), byref(data))
        if aware.value: found = w
        cx, cy, child = c_int(), c_int(), Window()
        X.XTranslateCoordinates(d, root, w, x, y, byref(cx), byref(cy), byref(child))
        if not child.value: return found
        w = child.value

src = X.XCreateSimpleWindow(d, root, 0, 0, 1, 1, 0, 0, 0)
X.XSetSelectionOwner(d, A("XdndSelection"), src, 0)
tgt = 0
for _ in range(300):
    tgt = target_at(x, y)
    if tgt: break
    time.sleep(0.1)
if not tgt: print("no window that takes drops there"); sys.exit(2)
if close:
    e = XEvent(); e.xclient.type = ClientMessage; e.xclient.window = tgt
    e.xclient.message_type = A("WM_PROTOCOLS"); e.xclient.format = 32
    e.xclient.l[0] = A("WM_DELETE_WINDOW")
    X.XSendEvent(d, tgt, 0, 0, byref(e)); X.XFlush(d)
    sys.exit(0)

def send(kind, l):
    e = XEvent(); e.xclient.type = ClientMessage; e.xclient.window = tgt
    e.xclient.message_type = A(kind); e.xclient.format = 32
    for i, v in enumerate(l): e.xclient.l[i] = v
    X.XSendEvent(d, tgt, 0, 0, byref(e)); X.XFlush(d)

def wait(kind, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        while X.XPending(d):
            e = XEvent(); X.XNextEvent(d, byref(e))
            if e.type == SelectionRequest:
                r = e.xselectionrequest
                X.XChangeProperty(d, r.requestor, r.property, r.target, 8, 0, uri, len(uri))
                s = XEvent(); s.type = SelectionNotify
                sel = ctypes.cast(byref(s), POINTER(XSelectionEvent)).contents
                sel.type = SelectionNotify; sel.requestor = r.requestor; sel.selection = r.selection
                sel.target = r.target; sel.property = r.property; sel.time = r.time
                X.XSendEvent(d, r.requestor, 0, 0, byref(s)); X.XFlush(d)
            elif e.type == ClientMessage and e.xclient.message_type == A(kind):
                return list(e.xclient.l)
        time.sleep(0.01)
    return None

send("XdndEnter", [src, 5 << 24, A("text/uri-list"), 0, 0])
send("XdndPosition", [src, 0, (x << 16) | y, 0, A("XdndActionCopy")])
status = wait("XdndStatus")
if not status or not (status[1] & 1):
    send("XdndLeave", [src, 0, 0, 0, 0])
    print("the drop was not accepted"); sys.exit(3)
send("XdndDrop", [src, 0, 0, 0, 0])
sys.exit(0 if wait("XdndFinished") is not None else 4)
