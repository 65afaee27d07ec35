#!/usr/bin/python3
"""Makes a picture the desktop background of the X display in $DISPLAY, the
way desktop background setters do: a pixmap on the root window that stays
after this program ends, announced through _XROOTPMAP_ID so that a
compositing manager (xcompmgr) paints it too.

    x-background.py RGB_FILE   raw 8-bit RGB, the size of the screen
"""
import sys

from Xlib import X, Xatom, display


def main():
    raw = open(sys.argv[1], "rb").read()
    disp = display.Display()
    screen = disp.screen()
    root = screen.root
    width, height = screen.width_in_pixels, screen.height_in_pixels
    if len(raw) != width * height * 3:
        sys.exit(f"x-background: {sys.argv[1]} is not a {width}x{height} RGB picture")
    pixmap = root.create_pixmap(width, height, screen.root_depth)
    gc = pixmap.create_gc()
    # A few rows per request keeps each under the core protocol's size
    # limit; a 24-bit screen takes 32-bit pixels, blue first.
    rows = 32
    for top in range(0, height, rows):
        count = min(rows, height - top)
        source = raw[top * width * 3:(top + count) * width * 3]
        pixels = bytearray(width * count * 4)
        pixels[0::4] = source[2::3]
        pixels[1::4] = source[1::3]
        pixels[2::4] = source[0::3]
        pixmap.put_image(gc, 0, top, width, count, X.ZPixmap, screen.root_depth, 0, bytes(pixels))
    root.change_attributes(background_pixmap=pixmap)
    root.clear_area()
    for name in ("_XROOTPMAP_ID", "ESETROOT_PMAP_ID"):
        root.change_property(disp.intern_atom(name), Xatom.PIXMAP, 32, [pixmap.id])
    disp.set_close_down_mode(X.RetainPermanent)
    disp.sync()
    disp.close()


if __name__ == "__main__":
    main()
