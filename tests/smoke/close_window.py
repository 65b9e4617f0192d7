#!/usr/bin/env python3
"""Asks an X11 window to close as a window manager's close button does, by sending it the
WM_DELETE_WINDOW message. Usage: close_window.py <window id>"""
import ctypes, sys

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XInternAtom.restype = ctypes.c_ulong
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                           ctypes.POINTER(ClientMessage)]
display = x11.XOpenDisplay(None) or sys.exit("cannot open the X display")
event = ClientMessage(type=33, window=int(sys.argv[1], 0), format=32,  # 33: ClientMessage
                      message_type=x11.XInternAtom(display, b"WM_PROTOCOLS", 0))
event.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x11.XSendEvent(display, event.window, 0, 0, ctypes.byref(event))
x11.XCloseDisplay(display)
