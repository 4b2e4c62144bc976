#!/usr/bin/python3
"""Prints the app id of the first toplevel window a Wayland compositor shows.

Usage: wayland_app_id.py LOG < PROTOCOL, where PROTOCOL is the compositor's WAYLAND_DEBUG=server
log as it is written; every line read is copied to LOG. Prints "(none)" for a toplevel shown
without an app id and nothing when the log ends first.
"""

import re
import sys

OBJECT = re.compile(r"(\w+)@(\d+)")
APP_ID = re.compile(r'\.set_app_id\("(.*)"\)')


def main(copy):
    surface_of = {}  # xdg_surface -> wl_surface
    toplevel_surface = {}  # xdg_toplevel -> wl_surface
    app_id = {}  # wl_surface of a toplevel -> its app id
    with open(copy, "w", buffering=1) as log:
        for line in sys.stdin:
            log.write(line)
            objects = dict(OBJECT.findall(line))
            if ".get_xdg_surface(" in line:
                surface_of[objects["xdg_surface"]] = objects["wl_surface"]
            elif ".get_toplevel(" in line:
                surface = surface_of.get(objects["xdg_surface"])
                toplevel_surface[objects["xdg_toplevel"]] = surface
                app_id[surface] = "(none)"
            elif match := APP_ID.search(line):
                app_id[toplevel_surface.get(objects["xdg_toplevel"])] = match.group(1)
            elif " -> wl_surface@" in line and ".enter(" in line:
                # The compositor put the surface on an output: the window is shown.
                if objects["wl_surface"] in app_id:
                    print(app_id[objects["wl_surface"]])
                    return


if __name__ == "__main__":
    main(*sys.argv[1:])
