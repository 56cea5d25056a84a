#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the animations in assets/gifs/ and the background tile assets/fondo.gif.

corre.gif       81 x 81, a child running to the right, repeats for ever
1.gif .. 3.gif  129 x 137, reward animations that play once
fondo.gif       96 x 96, pastel tile that repeats without seams
"""

import math
import os
import random
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from comun import (GREY, Canvas, ease_out, ease_out_back, lerp, mix,  # noqa: E402
                   out_path, save_animation, save_still_gif, star_points)

OUTLINE = (40, 40, 60)


# --------------------------------------------------------------------------
# corre.gif: the runner
# --------------------------------------------------------------------------

SKIN = (255, 210, 168)
HAIR = (120, 70, 30)
SHIRT = (235, 80, 60)
TROUSERS = (50, 100, 200)
SHOE = (70, 50, 40)


def limb(c, a, b, colour, width):
    c.line([a, b], OUTLINE, width + 1.6)
    c.line([a, b], colour, width)


def leg_points(hip, phase):
    """Hip, knee and foot for one leg at the given phase of the stride."""
    thigh = math.radians(12 + 40 * math.sin(phase))
    # the knee folds while the leg swings forward through the air and is
    # nearly straight while the foot is on the ground
    bend = math.radians(12 + 88 * max(0.0, math.cos(phase + 0.3)) ** 1.5)
    shin = thigh - bend
    hx, hy = hip
    kx, ky = hx + 12 * math.sin(thigh), hy + 12 * math.cos(thigh)
    fx, fy = kx + 12 * math.sin(shin), ky + 12 * math.cos(shin)
    return (hx, hy), (kx, ky), (fx, fy), shin


def arm_points(shoulder, phase):
    upper = -math.radians(45) * math.sin(phase)
    fore = upper + math.radians(95)
    sx, sy = shoulder
    ex, ey = sx + 9 * math.sin(upper), sy + 9 * math.cos(upper)
    hx, hy = ex + 8 * math.sin(fore), ey + 8 * math.cos(fore)
    return (sx, sy), (ex, ey), (hx, hy)


def draw_leg(c, hip, phase, dark):
    h, k, f, shin = leg_points(hip, phase)
    col = mix(TROUSERS, (0, 0, 0), 0.25) if dark else TROUSERS
    shoe = mix(SHOE, (0, 0, 0), 0.3) if dark else SHOE
    limb(c, h, k, col, 5.2)
    limb(c, k, f, col, 4.6)
    # shoe: a rounded blob pointing forward, along the ground
    fx, fy = f
    c.line([(fx - 1.5, fy + 0.5), (fx + 3.5, fy + 0.5)], OUTLINE, 5.2)
    c.line([(fx - 1.5, fy + 0.5), (fx + 3.5, fy + 0.5)], shoe, 3.6)


def draw_arm(c, shoulder, phase, dark):
    s, e, h = arm_points(shoulder, phase)
    sleeve = mix(SHIRT, (0, 0, 0), 0.25) if dark else SHIRT
    skin = mix(SKIN, (0, 0, 0), 0.15) if dark else SKIN
    limb(c, s, e, sleeve, 4.4)
    limb(c, e, h, skin, 3.6)
    c.circle(h[0], h[1], 2.3, fill=skin, outline=OUTLINE, width=0.8)


def runner_frame(i, n):
    c = Canvas(81, 81, GREY)
    p = 2 * math.pi * i / n
    # keep the lower foot on the ground: the body rises and falls with it
    lowest = max(leg_points((0, 0), q)[2][1] for q in (p, p + math.pi))
    bob = 72.0 - 47.0 - lowest
    # ground with dashes that slide away to the left
    c.line([(3, 74), (78, 74)], (160, 160, 160), 1.2)
    step = 81 / 4.0
    for k in range(6):
        x = (k * step - (i / n) * step * 2) % (81 + step) - step / 2
        c.line([(x, 77.5), (x + 7, 77.5)], (150, 150, 150), 1.4)
    # speed lines behind the child
    for k, y in enumerate((28, 38, 48)):
        length = 8 + 3 * math.sin(p * 2 + k)
        c.line([(14 - length, y + bob), (14, y + bob)], (235, 235, 235), 1.6)
    hip = (40, 47 + bob)
    shoulder = (44, 31 + bob)
    # far side first
    draw_arm(c, shoulder, p + math.pi, True)
    draw_leg(c, hip, p + math.pi, True)
    # body: a T-shirt leaning forward
    c.line([hip, shoulder], OUTLINE, 11.4)
    c.line([hip, shoulder], SHIRT, 9.8)
    c.line([(hip[0] - 0.5, hip[1] + 1), (hip[0] + 1.5, hip[1] + 1)], TROUSERS, 8.0)
    draw_leg(c, hip, p, False)
    # head
    hx, hy = 48, 19 + bob
    # a ponytail that bounces behind
    tail = 2.0 * math.sin(p * 2)
    c.line([(hx - 8, hy - 4), (hx - 13, hy - 2 + tail), (hx - 15, hy + 2 + tail)],
           OUTLINE, 4.6)
    c.line([(hx - 8, hy - 4), (hx - 13, hy - 2 + tail), (hx - 15, hy + 2 + tail)],
           HAIR, 3.2)
    c.circle(hx, hy, 9.2, fill=SKIN, outline=OUTLINE, width=1.0)
    # hair: a cap over the back and top of the head
    c.d.chord(c.box(hx - 9.6, hy - 10, hx + 8.6, hy + 6), 170, 345, fill=HAIR,
              outline=OUTLINE, width=int(c.s * 0.9))
    c.circle(hx - 8.2, hy - 4.2, 1.9, fill=(240, 80, 150))        # hair band
    # face looking ahead
    c.ellipse(hx + 3.2, hy - 2.4, hx + 5.4, hy + 0.8, fill=(30, 30, 40))
    c.arc(hx + 3.2, hy + 2.2, 3.2, 20, 120, (170, 50, 50), 1.1)
    c.circle(hx + 1.5, hy + 3.5, 1.6, fill=(255, 170, 150))      # rosy cheek
    c.circle(hx - 4.0, hy + 1.5, 2.0, fill=SKIN, outline=OUTLINE, width=0.7)  # ear
    draw_arm(c, shoulder, p, False)
    return c.result()


def make_corre():
    n = 8
    frames = [runner_frame(i, n) for i in range(n)]
    save_animation(out_path("assets", "gifs", "corre.gif"), frames, [90] * n,
                   loop_forever=True)


# --------------------------------------------------------------------------
# 1.gif: a star bursts in and smiles
# --------------------------------------------------------------------------

W, H = 129, 137


def smile_face(c, cx, cy, r, wink=False):
    ey = cy - r * 0.12
    dx = r * 0.30
    er = max(1.0, r * 0.10)
    c.circle(cx - dx, ey, er, fill=(60, 40, 30))
    if wink:
        c.arc(cx + dx, ey + er * 0.6, er * 1.4, 200, 340, (60, 40, 30), max(0.8, r * 0.06))
    else:
        c.circle(cx + dx, ey, er, fill=(60, 40, 30))
    c.arc(cx, cy + r * 0.05, r * 0.38, 20, 160, (150, 40, 40), max(1.0, r * 0.08))
    c.circle(cx - r * 0.52, cy + r * 0.2, r * 0.12, fill=(255, 150, 120))
    c.circle(cx + r * 0.52, cy + r * 0.2, r * 0.12, fill=(255, 150, 120))


def sparkle(c, x, y, r, colour):
    c.poly(star_points(x, y, r, r * 0.28, 4, 0.0), fill=colour)


def star_frame(i, n):
    c = Canvas(W, H, GREY)
    t = i / (n - 1)
    cx, cy = W / 2, H / 2 - 2
    # rays behind the star
    ray_t = min(1.0, t * 1.6)
    for k in range(12):
        a = 2 * math.pi * k / 12 + t * 0.6
        r0 = 20 + 10 * ray_t
        r1 = r0 + 30 * ease_out(ray_t)
        col = (255, 236, 150) if k % 2 == 0 else (255, 250, 210)
        w = 5 if k % 2 == 0 else 3
        if r1 > r0 + 1:
            c.line([(cx + r0 * math.cos(a), cy + r0 * math.sin(a)),
                    (cx + r1 * math.cos(a), cy + r1 * math.sin(a))], col, w)
    # sparkles flying outwards
    for k in range(10):
        a = 2 * math.pi * (k + 0.5) / 10
        d = 20 + 34 * ease_out(t)
        r = 5.5 * (1 - abs(2 * t - 1) * 0.6) * (1.0 if k % 2 else 0.7)
        cols = [(255, 120, 160), (120, 190, 255), (140, 220, 120), (255, 170, 60)]
        sparkle(c, cx + d * math.cos(a), cy + d * math.sin(a) * 1.05, r, cols[k % 4])
    # the star itself, popping in with a little overshoot and a wobble
    s = ease_out_back(min(1.0, t * 1.5), 2.2)
    size = 40 * s
    rot = 0.35 * (1 - min(1.0, t * 1.5)) * math.cos(t * 9)
    if size > 1:
        c.star(cx, cy + 2, size + 2.5, (size + 2.5) * 0.5, 5, rot, fill=OUTLINE)
        c.star(cx, cy + 2, size, size * 0.5, 5, rot, fill=(255, 205, 40))
        c.star(cx - size * 0.06, cy - size * 0.04, size * 0.72, size * 0.36, 5, rot,
               fill=(255, 225, 90))
        if size > 18:
            smile_face(c, cx, cy + size * 0.08, size * 0.45)
    return c.result()


# --------------------------------------------------------------------------
# 2.gif: a smiling sun with turning rays
# --------------------------------------------------------------------------

def sun_frame(i, n):
    c = Canvas(W, H, GREY)
    t = i / (n - 1)
    cx, cy = W / 2, H / 2
    grow = ease_out_back(min(1.0, t * 1.8), 1.8)
    rays = ease_out(min(1.0, max(0.0, t * 1.6 - 0.2)))
    spin = t * math.pi / 6
    # soft glow rings
    for k, col in enumerate(((250, 230, 170), (236, 220, 180))):
        r = (52 - 9 * k) * rays
        if r > 2:
            c.circle(cx, cy, r, fill=col)
    for k in range(14):
        a = spin + 2 * math.pi * k / 14
        long_ray = k % 2 == 0
        r0 = 30 * grow
        r1 = r0 + (22 if long_ray else 14) * rays
        wdt = 0.16 if long_ray else 0.12
        if r1 > r0 + 1:
            tri = [(cx + r0 * math.cos(a - wdt), cy + r0 * math.sin(a - wdt)),
                   (cx + r1 * math.cos(a), cy + r1 * math.sin(a)),
                   (cx + r0 * math.cos(a + wdt), cy + r0 * math.sin(a + wdt))]
            c.poly(tri, fill=(255, 150, 30) if long_ray else (255, 190, 40),
                   outline=(200, 100, 20), width=1)
    r = 30 * grow
    if r > 1:
        c.circle(cx, cy, r + 1.5, fill=(200, 100, 20))
        c.circle(cx, cy, r, fill=(255, 200, 40))
        c.circle(cx - r * 0.25, cy - r * 0.25, r * 0.55, fill=(255, 220, 90))
        if r > 15:
            smile_face(c, cx, cy + 2, r * 0.9, wink=(i >= n - 4 and i < n - 1) or i == n - 2)
    return c.result()


# --------------------------------------------------------------------------
# 3.gif: balloons rise and confetti falls
# --------------------------------------------------------------------------

def string_curve(a, b, sway, steps=8):
    """A gently bowed line from a to b (the bow grows with `sway`)."""
    (x0, y0), (x1, y1) = a, b
    pts = []
    for k in range(steps + 1):
        u = k / steps
        bend = sway * math.sin(math.pi * u)
        pts.append((lerp(x0, x1, u) + bend, lerp(y0, y1, u)))
    return pts


def balloon_body(c, x, y, r, colour):
    c.ellipse(x - r - 1.2, y - r * 1.2 - 1.2, x + r + 1.2, y + r * 1.2 + 1.2, fill=OUTLINE)
    c.ellipse(x - r, y - r * 1.2, x + r, y + r * 1.2, fill=colour)
    c.ellipse(x - r * 0.55, y - r * 0.85, x - r * 0.1, y - r * 0.2,
              fill=mix(colour, (255, 255, 255), 0.55))
    c.poly([(x, y + r * 1.15), (x - 3.5, y + r * 1.2 + 4.5), (x + 3.5, y + r * 1.2 + 4.5)],
           fill=colour, outline=OUTLINE, width=0.8)


def party_frame(i, n, confetti):
    c = Canvas(W, H, GREY)
    t = i / (n - 1)
    for (x0, y0, vx, vy, spin, col, shape) in confetti:
        x = (x0 + vx * t) % W
        y = y0 + vy * t
        if y < -6 or y > H + 6:
            continue
        a = spin * t * 2 * math.pi
        if shape == 0:
            dx, dy = 3.2 * math.cos(a), 3.2 * math.sin(a) * 0.6
            c.line([(x - dx, y - dy), (x + dx, y + dy)], col, 2.2)
        else:
            c.circle(x, y, 1.8, fill=col)
    # three balloons tied together float up from below and settle
    bunch = (((33, 52), 18, (235, 70, 80), 0.00),
             ((96, 50), 18, (70, 140, 235), 0.12),
             ((64, 38), 19, (255, 200, 40), 0.24))
    u = ease_out_back(min(1.0, t / 0.7), 1.0)
    lift = lerp(H + 30, 0, u)
    knot = (64 + 2 * math.sin(5 * t), 124 + lift)
    placed = []
    for (x, y), r, col, delay in bunch:
        xx = x + 2.5 * math.sin(6 * t + x)
        yy = y + lift + 6 * math.sin(math.pi * min(1.0, t * 1.3 + delay))
        placed.append((xx, yy, r, col))
    for xx, yy, r, col in placed:
        c.line(string_curve((xx, yy + r * 1.2 + 4), knot, 3 * math.sin(4 * t + xx)),
               (80, 80, 80), 1.0)
    kx, ky = knot
    c.poly([(kx, ky), (kx - 6, ky - 3), (kx - 6, ky + 3)], fill=(200, 60, 150),
           outline=OUTLINE, width=0.6)
    c.poly([(kx, ky), (kx + 6, ky - 3), (kx + 6, ky + 3)], fill=(200, 60, 150),
           outline=OUTLINE, width=0.6)
    for xx, yy, r, col in placed:
        balloon_body(c, xx, yy, r, col)
    return c.result()


def make_confetti(seed=3):
    rng = random.Random(seed)
    cols = [(235, 70, 80), (70, 140, 235), (255, 200, 40), (90, 200, 110),
            (200, 110, 220), (255, 140, 50)]
    bits = []
    for k in range(34):
        bits.append((rng.uniform(0, W), rng.uniform(-70, 60), rng.uniform(-12, 12),
                     rng.uniform(45, 95), rng.uniform(-2, 2), cols[k % len(cols)],
                     k % 3 == 0 and 1 or 0))
    return bits


def make_rewards():
    n = 13
    durations = [100] * (n - 1) + [300]            # the last picture lingers a little
    save_animation(out_path("assets", "gifs", "1.gif"),
                   [star_frame(i, n) for i in range(n)], durations, loop_forever=False)
    save_animation(out_path("assets", "gifs", "2.gif"),
                   [sun_frame(i, n) for i in range(n)], durations, loop_forever=False)
    confetti = make_confetti()
    save_animation(out_path("assets", "gifs", "3.gif"),
                   [party_frame(i, n, confetti) for i in range(n)], durations,
                   loop_forever=False)


# --------------------------------------------------------------------------
# fondo.gif: the background tile
# --------------------------------------------------------------------------

def make_fondo():
    size = 96
    base = (246, 241, 226)
    big = Canvas(size * 3, size * 3, base)
    rng = random.Random(11)
    shapes = []
    # a loose diagonal lattice of dots and little stars, jittered a bit
    for gy in range(4):
        for gx in range(4):
            x = gx * 24 + (12 if gy % 2 else 0) + rng.uniform(-3, 3)
            y = gy * 24 + 12 + rng.uniform(-3, 3)
            kind = (gx + gy * 3) % 4
            shapes.append((x, y, kind, rng.uniform(0, 1.2)))
    tints = [(236, 226, 246), (224, 238, 246), (246, 228, 224), (228, 242, 224)]
    for ox in range(3):
        for oy in range(3):
            for x, y, kind, rot in shapes:
                X, Y = x + ox * size, y + oy * size
                col = tints[(int(x) + int(y)) % 4]
                if kind == 0:
                    big.star(X, Y, 6.5, 2.8, 5, rot, fill=col)
                elif kind == 2:
                    big.circle(X, Y, 3.6, fill=col)
                else:
                    big.circle(X, Y, 2.0, fill=mix(col, base, 0.3))
    img = big.result().crop((size, size, size * 2, size * 2))
    save_still_gif(out_path("assets", "fondo.gif"), img, version=b"87a", colors=32,
                   keep=base)


def main():
    print("animaciones: corre.gif, 1.gif, 2.gif, 3.gif, fondo.gif")
    make_corre()
    make_rewards()
    make_fondo()


if __name__ == "__main__":
    main()
