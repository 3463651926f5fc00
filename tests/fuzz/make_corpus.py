#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the fuzzers' seed corpora, one folder per target in corpus/: for the bitmap reader
one tiny file per variant it knows and a few broken ones, so that fuzzing starts from every
branch of the header checks; for the number readers the kinds of text typed into the
fields; for the settings file real and broken files with a section, key and value to write;
for the hotkey notation, the paste buttons and other programs' titles the texts they meet,
typical and at the edges. The files are committed; run this again only to change them."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def bitmap(bits, width, height, rows, header=40, compression=0, colours_used=0, masks=(), table=(),
           offset=None, core_table=False):
    """A bitmap file: file header, information header of `header` bytes (12 for OS/2 core),
    masks (inside a header of 52 bytes or more, else after it), colour table (colour values
    0xRRGGBB), then the rows in file order, each padded to 4 bytes."""
    if header == 12:
        info = struct.pack('<IHHHH', 12, width, height, 1, bits)
    else:
        info = struct.pack('<IiiHHIIiiII', header, width, height, 1, bits, compression, 0, 3780, 3780,
                           colours_used, 0)
        inside = b''.join(struct.pack('<I', m) for m in masks) if header > 40 else b''
        info = (info + inside).ljust(header, b'\0')
        if header == 40:
            info += b''.join(struct.pack('<I', m) for m in masks)
    for colour in table:
        entry = bytes([colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF])
        info += entry if core_table else entry + b'\0'
    pixels = b''.join(bytes(row).ljust((len(row) + 3) // 4 * 4, b'\0') for row in rows)
    offset = 14 + len(info) if offset is None else offset
    body = info.ljust(offset - 14, b'\0')
    return b'BM' + struct.pack('<IHHI', 14 + len(body) + len(pixels), 0, 0, offset) + body + pixels


def u16(*values):
    return b''.join(struct.pack('<H', v) for v in values)


def u32(*values):
    return b''.join(struct.pack('<I', v) for v in values)


FILES = {
    'indexed-1bit.bmp': bitmap(1, 10, 2, [[0b10110010, 0b01000000], [0b01010101, 0b10000000]],
                               table=[0xFF0000, 0x00C800]),
    'indexed-4bit.bmp': bitmap(4, 3, 2, [[0x2F, 0x10], [0x0E, 0xD0]], table=range(0, 0x100000, 0x10000)),
    'indexed-8bit-short-table.bmp': bitmap(8, 4, 1, [[0, 1, 2, 255]], colours_used=3,
                                           table=[0x123456, 0xABCDEF, 0xFFFFFF]),
    'rgb555.bmp': bitmap(16, 3, 1, [u16(0x7FFF, 0x0210, 0x8001)]),
    'bitfields-565.bmp': bitmap(16, 2, 2, [u16(0xF800, 0x07E0), u16(0x001F, 0x8410)], compression=3,
                                masks=(0xF800, 0x07E0, 0x001F)),
    'alphabitfields-4444.bmp': bitmap(16, 1, 1, [u16(0x735A)], compression=6,
                                      masks=(0x0F00, 0x00F0, 0x000F, 0xF000)),
    'bgr24.bmp': bitmap(24, 3, 2, [[1, 2, 3, 4, 5, 6, 7, 8, 9], [10, 11, 12, 13, 14, 15, 16, 17, 18]]),
    'bgr24-top-down.bmp': bitmap(24, 1, -3, [[1, 2, 3], [4, 5, 6], [7, 8, 9]]),
    'bgrx32.bmp': bitmap(32, 2, 1, [[1, 2, 3, 255, 4, 5, 6, 0]]),
    'v5-bitfields-1010102.bmp': bitmap(32, 1, 1, [u32(1023 << 20 | 512 << 10 | 1 | 3 << 30)], header=124,
                                       compression=3, masks=(0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000)),
    'v4-bitfields-565.bmp': bitmap(16, 2, 1, [u16(0x001F, 0xF800)], header=108, compression=3,
                                   masks=(0xF800, 0x07E0, 0x001F, 0)),
    'v2-bgr24.bmp': bitmap(24, 1, 1, [[0xAB, 0xCD, 0xEF]], header=52),
    'v3-bitfields-32.bmp': bitmap(32, 1, 1, [[0x10, 0x20, 0x30, 0x40]], header=56, compression=3,
                                  masks=(0xFF, 0xFF00, 0xFF0000, 0xFF000000)),
    'os2-core-8bit.bmp': bitmap(8, 2, 1, [[0, 255]], header=12, table=[0x0000FF] * 255 + [0xFF0000],
                                core_table=True),
    # Broken ones: each is refused for one reason.
    'broken-last-row-short.bmp': bitmap(24, 2, 2, [[1, 2, 3, 4, 5, 6], [7, 8, 9, 10, 11, 12]])[:-3],
    'broken-rle8.bmp': bitmap(8, 2, 1, [[2, 0, 0, 1]], compression=1, table=[0, 0xFFFFFF]),
    'broken-huge.bmp': bitmap(32, 16384, 16384, [[0] * 8]),
    'broken-offset-in-header.bmp': bitmap(24, 1, 1, [[1, 2, 3]], offset=30),
}


def with_u32(data, at, *values):
    """data with 32-bit fields from offset at replaced by values."""
    fields = u32(*values)
    return data[:at] + fields + data[at + len(fields):]


def v5_profile_before_pixels():
    """A packed V5 bitmap whose embedded profile sits where the pixels would, before them."""
    dib = bitmap(24, 1, 2, [[1, 2, 3], [4, 5, 6]], header=124)[14:]
    dib = with_u32(dib, 56, 0x4D424544)  # 'MBED'
    dib = with_u32(dib, 112, 124, 8)  # profile offset, size
    return dib[:124] + b'ICCprof!' + dib[124:]


def v5_profile_after_pixels():
    dib = bitmap(32, 1, 1, [[9, 8, 7, 6]], header=124, compression=3, masks=(0xFF0000, 0xFF00, 0xFF, 0))[14:]
    dib = with_u32(dib, 56, 0x4C494E4B)  # 'LINK': a file name
    dib = with_u32(dib, 112, 128, 12)
    return dib + b'C:\\srgb.icc\0'


# The clipboard's packed bitmaps (CF_DIB): every file above that reads, without its file
# header, a few layouts only packed bitmaps have, and broken ones.
DIBS = {name.replace('.bmp', '.dib'): data[14:] for name, data in FILES.items() if not name.startswith('broken-')}
DIBS.update({
    'bgr24-with-palette-table.dib': bitmap(24, 2, 1, [[1, 2, 3, 4, 5, 6]], colours_used=2,
                                           table=[0x111111, 0x222222])[14:],
    'indexed-8bit-300-colours.dib': bitmap(8, 2, 1, [[255, 7]], colours_used=300, table=range(300))[14:],
    'v5-profile-before-pixels.dib': v5_profile_before_pixels(),
    'v5-profile-after-pixels.dib': v5_profile_after_pixels(),
    'broken-header-past-end.dib': bitmap(24, 1, 1, [[1, 2, 3]])[14:40],
    'broken-colour-count-huge.dib': with_u32(bitmap(8, 1, 1, [[0]], table=[0, 0xFFFFFF])[14:], 32, 0x40000000),
    'broken-masks-missing.dib': bitmap(16, 1, 1, [], compression=3)[14:],
    'broken-height-int32-min.dib': bitmap(24, 1, -2**31, [[1, 2, 3]])[14:],
    'broken-zero-width.dib': bitmap(24, 0, 1, [[1, 2, 3]])[14:],
    'broken-profile-past-end.dib': with_u32(v5_profile_before_pixels(), 116, 0xFFFFFFF0),
})

NUMBERS = {
    'integer': b'120', 'negative-fraction': b'-0.25', 'exponent': b'1.5E+3', 'blanks': b' \t42\r\n',
    'leading-number': b'12abc', 'point-only': b'.', 'two-points': b'1.2.3', 'huge': b'1e999',
    'tiny': b'-1e-999', 'half': b'2.5', 'int-limit': b'2147483647.5', 'hex': b'00FF7f', 'hex-long': b'123456789',
    'empty': b'',
}

# The settings file, then NUL, section, NUL, key, NUL, value.
PROFILES = {
    'slots': b'[Position]\r\nPosition0X=100\r\nPosition0Y=200\r\nColor0=255\r\n[Bmp]\r\nMousePoint=0\r\n'
             b'\0Position\0Position3X\0120',
    'new-section': b'[Bmp]\r\nBmpFilePath=/home/user/Pictures/Pelmora\0Wayland\0ShowNotice\00',
    'comments-and-case': b'; mine\n[bmp]\nmousepoint = "1"\n[Other]\nk=v' b'\0BMP\0MousePoint\0 1 ',
    'line-ends-mixed': b'[A]\rk=1\n\n[B]\r\nk=2' b'\0B\0k\0two\r\nlines',
    'no-line-end': b'[Position]' b'\0Position\0Color9\016777215',
    'utf8-value': '[Bmp]\r\nBmpFilePath=/tmp/图片\r\n'.encode() + b'\0Bmp\0BmpFilePath\0' + '/tmp/截图'.encode(),
    'quoted': b'[S]\r\nk=\'x\'\r\n\0S\0k\0"quoted"',
    'empty': b'\0S\0k\0',
}

# Hotkey texts: the program's own, modifier words spelt otherwise, keys that are no
# integers, and numbers at the edges of the readers.
HOTKEYS = {
    'ctrl-alt-1': b'Ctrl+Alt,49', 'alt-grave': b'Alt,192', 'up-arrow': b'38', 'half-to-even': b'2.5',
    'half-up': b'39.5', 'all-modifiers': b'Ctrl+Alt+Shift,65', 'lower-case-word': b'ctrl,49',
    'empty-word': b',49', 'blanks-around-key': b'Alt, 192 ', 'key-no-number': b'Ctrl+Alt,x',
    'key-missing': b'Ctrl+Alt,', 'two-commas': b'Alt,1,2', 'leading-number': b'40abc', 'huge': b'1e400',
    'key-past-int32': b'Shift,2147483648', 'int32-low-half': b'-2147483648.5', 'exponent-key': b'Ctrl,4.9e1',
    'empty': b'',
}

# Clipboard texts pasted as a coordinate pair or as a window handle.
PASTES = {
    'point-spaces': b' 12 , 34 ', 'point-blank-only': b' ,', 'point-tab-and-line-break': b'\t7 ,  8\r\n',
    'three-pieces': b'1,2,3', 'no-comma': b'1234', 'handle-then-letters': b'4321abc', 'handle-bracketed': b'[4321]',
    'fraction': b'12.5', 'huge': b'1e400', 'largest-double': b'1.7976931348623157e308',
    'seventeen-digits': b'0.12345678901234567', 'twenty-digits': b'12345678901234567890', 'tiny': b'4.9e-324',
    'negative-zero': b'-0', 'quoted-title': '"记事本"'.encode(), 'empty': b'',
    'fifteen-digits-round-down': b'01000000008693495011864504766869349579<4000000029',
}


def limited(limit, text):
    """A text seed whose first byte is the byte limit of the cut for the rest."""
    return bytes([limit]) + text


# Other programs' titles: UTF-8, Latin-1, broken, and long ones whose last character
# straddles the 254-byte limit, in UTF-8 and in code page 936.
TEXTS = {
    'chinese-title': '中文标题 – 记事本'.encode(),
    'latin1-title': 'café crème'.encode('latin-1'),
    'invalid-utf8': b'a\xffb\x80\xbf\xc0\xaf\xe0\x80\xaf\xed\xa0\x80\xf4\x90\x80\x80\xe4\xb8x',
    'cut-off-end': 'ok 中'.encode()[:-1],
    'lone-lead-byte': b'\xc3',
    'title-300-bytes': ('标题' * 50).encode(),
    'emoji-across-254': b'a' + '😀'.encode() * 70,
    'gbk-pair-across-254': b'a' + '中文'.encode('gbk') * 75,
    'gbk-lead-at-end': '中文'.encode('gbk') + b'\x81',
    'limit-inside-character': limited(4, 'a中文'.encode()),
    'limit-zero': limited(0, b'abc'),
    'limit-gbk': limited(3, 'a中b'.encode('gbk')),
    'empty': b'',
}


def write(folder, files):
    os.makedirs(folder, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(folder, name), 'wb') as out:
            out.write(data)
    print(f'{len(files)} seed files in {folder}')


if __name__ == '__main__':
    corpus = os.path.join(HERE, 'corpus')
    write(os.path.join(corpus, 'bitmap'), FILES)
    write(os.path.join(corpus, 'dib'), DIBS)
    write(os.path.join(corpus, 'number'), NUMBERS)
    write(os.path.join(corpus, 'profile'), PROFILES)
    write(os.path.join(corpus, 'hotkey'), HOTKEYS)
    write(os.path.join(corpus, 'paste'), PASTES)
    write(os.path.join(corpus, 'text'), TEXTS)
