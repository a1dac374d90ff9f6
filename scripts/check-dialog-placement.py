#!/usr/bin/env python3
"""Measures by hand, on a real X server, where the program's dialogs open.

Not part of the test suite: it clicks through a running program with xdotool
and waits for window managers with short pauses. Needs xvfb, openbox,
xdotool, x11-utils and imagemagick (apt-get install xvfb openbox xdotool
x11-utils imagemagick). Run it from a folder of its own holding the built
program and the example rules, bare and under openbox:

    xvfb-run -a -s "-screen 0 1280x1024x24" scripts/check-dialog-placement.py build/app/zelmar
    xvfb-run -a -s "-screen 0 1280x1024x24" sh -c \\
        'openbox & sleep 2; scripts/check-dialog-placement.py build/app/zelmar shots/'

For each of the notice (重来), the rule editor and the reload question
(规则设定, 保存), the about and the help dialog it starts the program, opens
the dialog, and prints how far the dialog's centre, frame included, lies from
the main window's centre; the same for the notice of a malformed rule file at
start-up, which comes before the main window (a copy of the program in a
scratch folder with a bad loss table, measured against the main window that
appears once the notice is closed); for the editor, help and about it also tells
whether Esc closed them and whether they set an icon (help and about set a
blank one, so that no icon shows in their title bar). With a
folder given, it saves a picture of the screen for each dialog there.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

MAIN_TITLE = 'Zelmar V1.0版'


def sh(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout


def find(title, exclude=(), timeout=10):
    start = time.time()
    while time.time() - start < timeout:
        found = [w for w in sh('xdotool', 'search', '--onlyvisible', '--name', '^' + re.escape(title) + '$').split()
                 if w not in exclude]
        if found:
            return found[-1]
        time.sleep(0.1)
    return None


def frame(window):
    """The window's frame on the screen (x, y, width, height) and its client."""
    info = sh('xwininfo', '-id', window)
    x, y, w, h = (int(re.search(key + r':\s+(-?\d+)', info).group(1))
                  for key in ('Absolute upper-left X', 'Absolute upper-left Y', 'Width', 'Height'))
    extents = re.search(r'= (\d+), (\d+), (\d+), (\d+)', sh('xprop', '-id', window, '_NET_FRAME_EXTENTS'))
    left, right, top, bottom = map(int, extents.groups()) if extents else (0, 0, 0, 0)
    return (x - left, y - top, w + left + right, h + top + bottom), (x, y, w, h)


def click(window, x, y):
    sh('xdotool', 'mousemove', '--window', window, str(x), str(y))
    time.sleep(0.3)
    sh('xdotool', 'click', '1')
    time.sleep(0.5)


def offset(dialog_frame, main_frame):
    dx = dialog_frame[0] + dialog_frame[2] / 2 - (main_frame[0] + main_frame[2] / 2)
    dy = dialog_frame[1] + dialog_frame[3] / 2 - (main_frame[1] + main_frame[3] / 2)
    return f'dx={dx:+.1f} dy={dy:+.1f}'


def measure_startup(program, shots):
    with tempfile.TemporaryDirectory() as folder:
        copy = shutil.copy(program, folder)
        for name, text in (('winText.txt', b'1,1,2,3'), ('lostText.txt', b'1,1,2,3\r\n5,x,7')):
            with open(os.path.join(folder, name), 'wb') as f:
                f.write(text)
        proc = subprocess.Popen([copy], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            notice = find(MAIN_TITLE)
            time.sleep(1.5)
            notice_frame, _ = frame(notice)
            if shots:
                sh('import', '-window', 'root', os.path.join(shots, 'x-startup.png'))
            sh('xdotool', 'key', '--window', notice, 'Return')
            main = find(MAIN_TITLE, (notice,))
            time.sleep(1.5)
            main_frame, _ = frame(main)
            print(f'startup  main frame {main_frame} dialog frame {notice_frame}: '
                  + offset(notice_frame, main_frame))
        finally:
            proc.kill()


def measure(program, which, shots):
    proc = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        main = find(MAIN_TITLE)
        time.sleep(1.5)
        main_frame, main_client = frame(main)
        menu = main_client[3] - 528  # the client area below the menu bar is 528 px high
        exclude = ()
        if which == 'notice':
            click(main, 96, 348 + menu)  # 重来
            title, exclude = MAIN_TITLE, (main,)
        elif which in ('editor', 'question'):
            click(main, 96, 432 + menu)  # 规则设定
            title = '规则设定'
            if which == 'question':
                click(find(title), 300, 350)  # 保存
                title = '重新加载规则？'
        else:
            x = 20 if which == 'about' else 58
            click(main, x, menu // 2)
            click(main, x + 30, menu + 12)
            title = '关于' if which == 'about' else '帮助'
        dialog = find(title, exclude)
        if not dialog:
            print(f'{which:8s} did not appear')
            return
        time.sleep(1.5)
        dialog_frame, _ = frame(dialog)
        print(f'{which:8s} main frame {main_frame} dialog frame {dialog_frame}: '
              + offset(dialog_frame, main_frame))
        if shots:
            sh('import', '-window', 'root', os.path.join(shots, f'x-{which}.png'))
        if which in ('editor', 'about', 'help'):
            icon = '_NET_WM_ICON(' in sh('xprop', '-id', dialog)
            sh('xdotool', 'key', '--window', dialog, 'Escape')
            time.sleep(0.8)
            still_open = 'IsViewable' in sh('xwininfo', '-id', dialog)
            print(f'{which:8s} _NET_WM_ICON set: {icon}, open after Esc: {still_open}')
    finally:
        proc.kill()


if __name__ == '__main__':
    program = sys.argv[1]
    shots = sys.argv[2] if len(sys.argv) > 2 else None
    if shots:
        os.makedirs(shots, exist_ok=True)
    for which in ('notice', 'editor', 'question', 'about', 'help'):
        measure(program, which, shots)
    measure_startup(program, shots)
