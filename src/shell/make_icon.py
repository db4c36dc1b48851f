#!/usr/bin/env python3
"""Draws tovanix.ico: one 32 x 32 image, 32 bits per pixel (BGRA with alpha).

A rounded teal square; on it a white speech bubble with three dots, and a narrow
white panel standing beside it: the side window next to the chat.
Run it again after changing the drawing: python3 make_icon.py > tovanix.ico
"""
import struct
import sys

N = 32
SS = 4  # samples per pixel side, for smooth edges


def rounded_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and x0 <= x <= x1 and y0 <= y <= y1


def ellipse(x, y, cx, cy, rx, ry):
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def in_tail(x, y):
    # A small triangle below the bubble's lower left.
    return 19 <= y <= 25 and 6 <= x <= 13 and (x - 6) >= (y - 19) * 1.0


def sample(x, y):
    """(r, g, b, a) of one sample point, or None outside the icon."""
    if not rounded_rect(x, y, 0.5, 0.5, 31.5, 31.5, 6):
        return None
    t = y / N
    bg = (int(22 + 18 * t), int(150 - 40 * t), int(140 - 30 * t))
    if rounded_rect(x, y, 24.0, 5.0, 28.5, 27.0, 1.5):
        return (235, 248, 246)
    if ellipse(x, y, 13.0, 14.0, 9.5, 7.5) or in_tail(x, y):
        for dx in (9.0, 13.0, 17.0):
            if ellipse(x, y, dx, 14.0, 1.4, 1.4):
                return bg
        return (255, 255, 255)
    return bg


def pixel(px, py):
    acc = [0, 0, 0, 0]
    for sy in range(SS):
        for sx in range(SS):
            c = sample(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS)
            if c is None:
                continue
            acc[0] += c[0]
            acc[1] += c[1]
            acc[2] += c[2]
            acc[3] += 1
    n = acc[3]
    if n == 0:
        return (0, 0, 0, 0)
    return (acc[0] // n, acc[1] // n, acc[2] // n, 255 * n // (SS * SS))


def main():
    rows = []
    for py in range(N - 1, -1, -1):  # bottom-up, as a DIB
        row = b""
        for px in range(N):
            r, g, b, a = pixel(px, py)
            row += bytes((b, g, r, a))
        rows.append(row)
    xor = b"".join(rows)
    and_mask = b"\0" * (N * N // 8)  # 4 bytes per row: alpha carries the shape
    header = struct.pack("<IiiHHIIiiII", 40, N, N * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", N, N, 0, 0, 1, 32, len(image), 6 + 16)
    sys.stdout.buffer.write(icondir + entry + image)


if __name__ == "__main__":
    main()
