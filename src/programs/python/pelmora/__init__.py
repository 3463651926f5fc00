# SPDX-License-Identifier: MIT
"""Pelmora for Python: the screen's pixels, windows and cursor, and searches for colours,
pictures and patterns of points, answered in-process by the engine of pelmora-cli.

    import pelmora
    with pelmora.Screen() as screen:
        print(screen.pointer(), screen.pixel().hex)
        match = screen.wait_image("ok-button.bmp", similarity=0.9, timeout=5)

Coordinates are physical screen pixels on the X11 display (DISPLAY, or the one named).
Colours are written as Pelmora writes them: six hexadecimal digits in blue-green-red order
("0000FF" is red); wherever a colour is asked, a Colour, such a text or "#RRGGBB" is taken.
Not found, or a wait's timeout, returns None; a bad argument raises ValueError or TypeError
naming it; no X server raises DisplayError (an OSError), as does every call of a screen
whose X server went away meanwhile (the process lives on).

Every call that takes or gives coordinates takes window= (a Window or a handle) and client=:
its coordinates and region are then relative to the window's frame (with client=True its
client area), a region not given is the window's rectangle, and a window that is gone,
minimised, hidden or off every monitor raises WindowError.

A Screen may be shared by threads: its calls take turns on the display connection, and a
search works on its own grab, outside that turn. Every call that reads the screen, searches
or waits lets go of the GIL; a wait ends with KeyboardInterrupt at once on Ctrl+C.
Linux only (X11, or Wayland through the desktop portal: Screen(backend=...)); on Windows
scripts use pelmora-cli.exe.
"""
import time as _time

from . import _pelmora

__all__ = ["Colour", "DisplayError", "Match", "Picture", "Screen", "UnavailableError", "Window", "WindowError"]

DisplayError = _pelmora.DisplayError
UnavailableError = _pelmora.UnavailableError
UnavailableError.__doc__ = """What the desktop tells no program: on Wayland the pointer's position, the
windows and the cursor; the message says which, and where it can be had (an OSError)."""
WindowError = _pelmora.WindowError
WindowError.__doc__ = """The window coordinates are relative to is gone, minimised, hidden or off every
monitor; the message says which (a LookupError)."""
Picture = _pelmora.Picture
Picture.__doc__ = """A picture: a screen grab, a bitmap file, or an array.

Picture.open(path) reads any bitmap the editor reads (OSError saying why not);
Picture.from_array(array) takes an H x W x 3 or 4 array of uint8, red, green, blue first
(a PNG loaded with PIL, say); picture.save(path) writes a 24-bit bitmap, whole or not at
all. numpy.asarray(picture) is an H x W x 4 read-only view of its pixels, red, green, blue
and a zero byte each, without a copy. picture.width, picture.height; picture.pixel(x, y)
is a Colour (None outside)."""

_raw_pixel = Picture.pixel


def _picture_pixel(self, x, y):
    value = _raw_pixel(self, _whole(x, "x"), _whole(y, "y"))
    return None if value < 0 else Colour._of(value)


Picture.pixel = _picture_pixel


class Colour:
    """A colour in every form Pelmora shows: .hex ("0000FF", blue-green-red), .web
    ("#FF0000"), .rgb (r, g, b), .hsl (h, s, l on 0..240, as the colour panel) and .decimal
    (the colour value, 255 for red). Colour("0000FF"), Colour("#FF0000") and
    Colour.from_rgb(255, 0, 0) are the same colour; colours compare equal by value."""

    __slots__ = ("decimal",)

    def __init__(self, text):
        if isinstance(text, Colour):
            self.decimal = text.decimal
            return
        if not isinstance(text, str):
            raise TypeError(f"colour: wants a Colour or a text such as '0000FF' or '#FF0000', got {type(text).__name__}")
        value = _pelmora.parse_colour(text)
        if value is None:
            raise ValueError(f"colour: wants six hexadecimal digits (BGR) or #RRGGBB, got {text!r}")
        self.decimal = value

    @classmethod
    def _of(cls, value):
        colour = cls.__new__(cls)
        colour.decimal = value
        return colour

    @classmethod
    def from_rgb(cls, red, green, blue):
        """The colour of red, green and blue, each 0 to 255."""
        for name, channel in (("red", red), ("green", green), ("blue", blue)):
            if _whole(channel, name) not in range(256):
                raise ValueError(f"{name}: wants 0 to 255, got {channel}")
        return cls._of(red | green << 8 | blue << 16)

    @property
    def hex(self):
        return _pelmora.colour_forms(self.decimal)[0]

    @property
    def web(self):
        return "#%02X%02X%02X" % self.rgb

    @property
    def rgb(self):
        return _pelmora.colour_forms(self.decimal)[1]

    @property
    def hsl(self):
        return _pelmora.colour_forms(self.decimal)[2]

    def near(self, other, tolerance):
        """Whether red, green and blue each differ from other's by at most tolerance."""
        other = Colour(other)
        tolerance = _tolerance(tolerance)
        return all(abs(a - b) <= tolerance for a, b in zip(self.rgb, other.rgb))

    def __eq__(self, other):
        return isinstance(other, Colour) and other.decimal == self.decimal

    def __hash__(self):
        return hash(self.decimal)

    def __repr__(self):
        return f"Colour({self.hex!r})"


class Window:
    """A window: .handle (as the window page shows it), .title, .class_name, .rect and
    .client_rect ((left, top, width, height) on the screen, None unless it is shown)."""

    __slots__ = ("handle", "title", "class_name", "rect", "client_rect")

    def __init__(self, handle, title, class_name, rect, client_rect):
        self.handle, self.title, self.class_name, self.rect, self.client_rect = (
            handle, title, class_name, rect, client_rect)

    def __repr__(self):
        return f"Window({self.handle}, {self.title!r})"


class Match:
    """A place found: .x, .y (the top-left corner of a picture, or the first point of a
    pattern), .score (with a similarity), .scale (the picture's factor) and .index (which
    of several pictures, from 0)."""

    __slots__ = ("x", "y", "score", "scale", "index")

    def __init__(self, x, y, score=None, scale=1.0, index=0):
        self.x, self.y, self.score, self.scale, self.index = x, y, score, scale, index

    def __eq__(self, other):
        return isinstance(other, Match) and (self.x, self.y, self.score, self.scale, self.index) == (
            other.x, other.y, other.score, other.scale, other.index)

    def __repr__(self):
        return f"Match(x={self.x}, y={self.y}, score={self.score}, scale={self.scale}, index={self.index})"


def _whole(value, name):
    if isinstance(value, bool) or not isinstance(value, int):
        raise TypeError(f"{name}: wants a whole number, got {type(value).__name__}")
    if not -2**31 <= value < 2**31:
        raise ValueError(f"{name}: wants a 32-bit whole number, got {value}")
    return value


def _tolerance(value):
    if _whole(value, "tolerance") not in range(256):
        raise ValueError(f"tolerance: wants 0 to 255, got {value}")
    return value


def _point(x, y):
    if (x is None) != (y is None):
        raise TypeError("x and y: give both, or neither for the pointer's position")
    return None if x is None else (_whole(x, "x"), _whole(y, "y"))


def _region(region):
    if region is None:
        return None
    if not isinstance(region, (tuple, list)) or len(region) != 4:
        raise TypeError("region: wants (left, top, width, height)")
    left, top, width, height = (_whole(v, n) for v, n in zip(region, ("left", "top", "width", "height")))
    if width < 1 or height < 1:
        raise ValueError(f"region: wants a width and height of at least 1, got {width} x {height}")
    return left, top, width, height


def _relative(window, client):
    if window is None:
        if client:
            raise TypeError("client: only with window=, whose client area it means")
        return None
    handle = window.handle if isinstance(window, Window) else window
    return _whole(handle, "window"), bool(client)


def _similarity(value):
    if value is None:
        return None
    if isinstance(value, bool) or not isinstance(value, (int, float)):
        raise TypeError(f"similarity: wants a number, got {type(value).__name__}")
    if not 0 < value <= 1:
        raise ValueError(f"similarity: wants a number above 0 and at most 1, got {value}")
    return float(value)


def _seconds(value, name, least):
    if isinstance(value, bool) or not isinstance(value, (int, float)):
        raise TypeError(f"{name}: wants seconds, got {type(value).__name__}")
    if not value >= least:
        raise ValueError(f"{name}: wants seconds from {least}, got {value}")
    return float(value)


def _matches(found, all):
    matches = [Match(*place) for place in found]
    return matches if all else (matches[0] if matches else None)


class Screen:
    """The screen, held open until close(); a context manager. Closing twice is harmless;
    any other call after close raises ValueError.

    backend="x11" reads the X11 display (DISPLAY's, or the one named); backend="wayland"
    reads a Wayland session's screen through the desktop portal, one screenshot per look,
    in the pixels of the portal's picture: there pointer(), window_at(), windows(),
    cursor_code(), a pixel() without x and y and every window= raise UnavailableError, and a
    refused or unanswered screenshot raises DisplayError. None (the default) takes wayland
    in a Wayland session and x11 elsewhere."""

    def __init__(self, display=None, backend=None):
        if display is not None and not isinstance(display, str):
            raise TypeError(f"display: wants a text such as ':0', got {type(display).__name__}")
        if backend is not None and not isinstance(backend, str):
            raise TypeError(f"backend: wants 'x11' or 'wayland', got {type(backend).__name__}")
        self._screen = _pelmora.Screen(display or "", backend or "")
        self._closed = False

    def __enter__(self):
        return self

    def __exit__(self, *exception):
        self.close()

    def close(self):
        """Closes the display connection; harmless when closed."""
        if not self._closed:
            self._closed = True
            self._screen.close()

    def _open(self):
        if self._closed:
            raise ValueError("the screen is closed")
        return self._screen

    def pointer(self, window=None, client=False):
        """Where the pointer is: (x, y)."""
        return self._open().pointer(_relative(window, client))

    def pixel(self, x=None, y=None, window=None, client=False):
        """The Colour at x, y (at the pointer without them); None off the screen."""
        value = self._open().pixel(_point(x, y), _relative(window, client))
        return None if value < 0 else Colour._of(value)

    def _window(self, handle):
        screen = self._open()
        state, frame, client = screen.place(handle)
        title, class_name = screen.texts(handle)
        shown = state == 0
        return Window(handle, title, class_name, frame if shown else None, client if shown else None)

    def window_at(self, x=None, y=None, window=None, client=False):
        """The Window at x, y (at the pointer without them): the program's own window, not
        the window manager's frame; None where no window is."""
        handle = self._open().window_at(_point(x, y), _relative(window, client))
        return self._window(handle) if handle else None

    def windows(self, search=None):
        """Every top-level window with a title, from the top, as the window page lists
        them; with search those whose title holds it (double quotes in it dropped)."""
        if search is not None and not isinstance(search, str):
            raise TypeError(f"search: wants a text, got {type(search).__name__}")
        return [self._window(handle) for handle, _ in self._open().windows(search)]

    def cursor_code(self, method=0):
        """The feature code of the cursor shown now, by method 0, 1 or 2 (the cursor page's)."""
        if _whole(method, "method") not in (0, 1, 2):
            raise ValueError(f"method: wants 0, 1 or 2, got {method}")
        return self._open().cursor_code(method)

    def grab(self, region=None, window=None, client=False):
        """The region's pixels (every monitor without one) as a Picture; None off the screen."""
        return self._open().grab(_region(region), _relative(window, client))

    def find_colour(self, colour, region=None, tolerance=0, all=False, window=None, client=False):
        """The first pixel of the colour in reading order as a Match, or None; every one
        with all=True."""
        found = self._open().find_colour(Colour(colour).decimal, _region(region), _tolerance(tolerance), bool(all),
                                         _relative(window, client))
        return _matches(found, all)

    def find_image(self, picture, region=None, tolerance=0, transparent=None, similarity=None, scales=None,
                   all=False, window=None, client=False):
        """Where the picture (a Picture, a bitmap file's path, or a list of them) lies, as
        pelmora-cli find-image answers: exactly, each pixel within tolerance, pixels of the
        transparent colour matching anything; with similarity (0 < S <= 1) the best place
        scoring at least S; scales: the picture resized by each factor (0.25 to 4)."""
        pictures = picture if isinstance(picture, (list, tuple)) else [picture]
        if not pictures:
            raise ValueError("picture: wants a Picture or a path, got an empty list")
        opened = [p if isinstance(p, Picture) else Picture.open(_path(p)) for p in pictures]
        factors = [] if scales is None else [float(f) for f in scales]
        if any(not 0.25 <= f <= 4 for f in factors) or len(set(factors)) != len(factors):
            raise ValueError(f"scales: wants factors from 0.25 to 4, none twice, got {scales}")
        found = self._open().find_image(opened, _region(region), _tolerance(tolerance),
                                        None if transparent is None else Colour(transparent).decimal,
                                        _similarity(similarity), factors, bool(all), _relative(window, client))
        return _matches(found, all)

    def find_points(self, colour, points, region=None, tolerance=0, similarity=None, all=False, window=None,
                    client=False):
        """Where the colour has each point's colour at its offset from it, as pelmora-cli
        find-points answers. points: (dx, dy, colour) tuples or pelmora-cli's "DX,DY,COLOUR"
        texts ("!COLOUR": not that colour; "COLOUR~N": its own tolerance)."""
        operands = [Colour(colour).hex] + [_point_text(point) for point in points]
        found = self._open().find_points(operands, _region(region), _tolerance(tolerance), _similarity(similarity),
                                         bool(all), _relative(window, client))
        return _matches(found, all)

    def _wait(self, look, timeout, interval):
        # Looks at once, then every interval until the timeout; the last pause is cut short
        # so that the last look falls at the timeout. time.sleep lets Ctrl+C in at once.
        timeout = _seconds(timeout, "timeout", 0)
        interval = _seconds(interval, "interval", 0.001)
        start = _time.monotonic()
        while True:
            found = look()
            if found is not None:
                return found
            waited = _time.monotonic() - start
            if waited >= timeout:
                return None
            _time.sleep(min(interval, timeout - waited))

    def wait_colour(self, x, y, colour, tolerance=0, timeout=10, interval=0.05, window=None, client=False):
        """Waits until the colour is at x, y; its Colour then, or None after timeout seconds."""
        colour, point = Colour(colour), _point(x, y)
        tolerance = _tolerance(tolerance)

        def look():
            now = self.pixel(*point, window=window, client=client)
            return now if now is not None and now.near(colour, tolerance) else None

        return self._wait(look, timeout, interval)

    def wait_image(self, picture, region=None, tolerance=0, transparent=None, similarity=None, scales=None,
                   timeout=10, interval=0.05, window=None, client=False):
        """Waits until find_image finds the picture; its Match then, or None after timeout."""
        pictures = picture if isinstance(picture, (list, tuple)) else [picture]
        opened = [p if isinstance(p, Picture) else Picture.open(_path(p)) for p in pictures]
        return self._wait(lambda: self.find_image(opened, region, tolerance, transparent, similarity, scales,
                                                  window=window, client=client), timeout, interval)

    def wait_points(self, colour, points, region=None, tolerance=0, similarity=None, timeout=10, interval=0.05,
                    window=None, client=False):
        """Waits until find_points finds the pattern; its Match then, or None after timeout."""
        return self._wait(lambda: self.find_points(colour, points, region, tolerance, similarity, window=window,
                                                   client=client), timeout, interval)

    def wait_cursor(self, code, method=0, timeout=10, interval=0.05):
        """Waits until the cursor has the feature code; the code then, or None after timeout."""
        if isinstance(code, bool) or not isinstance(code, int) or not 0 <= code < 2**31:
            raise ValueError(f"code: wants a feature code, a whole number from 0 to 2147483647, got {code!r}")
        return self._wait(lambda: code if self.cursor_code(method) == code else None, timeout, interval)


def _path(path):
    import os
    if not isinstance(path, (str, os.PathLike)):
        raise TypeError(f"picture: wants a Picture or a bitmap file's path, got {type(path).__name__}")
    return os.fspath(path)


def _point_text(point):
    if isinstance(point, str):
        return point
    if not isinstance(point, (tuple, list)) or len(point) != 3:
        raise TypeError("points: wants (dx, dy, colour) tuples or 'DX,DY,COLOUR' texts")
    dx, dy, colour = point
    return f"{_whole(dx, 'dx')},{_whole(dy, 'dy')},{Colour(colour).hex}"
