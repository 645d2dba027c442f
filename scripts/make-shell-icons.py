#!/usr/bin/env python3
"""Draws the shell's icons and the system picture as SVG files in
src/resources/shell/. Run again after changing a drawing; the files are
committed."""
import os

OUT = os.path.join(os.path.dirname(__file__), '..', 'src', 'resources', 'shell')

def svg(size, body, w=None, h=None):
    w = w or size
    h = h or size
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}">{body}</svg>\n')

def monitor(extra='', screen='#3b7dd8'):
    return ('<rect x="3" y="4" width="26" height="18" rx="2" fill="#2d3440"/>'
            f'<rect x="5" y="6" width="22" height="14" fill="{screen}"/>'
            '<rect x="13" y="22" width="6" height="4" fill="#2d3440"/>'
            '<rect x="9" y="26" width="14" height="2.5" rx="1" fill="#2d3440"/>' + extra)

def badge(color, mark):
    return (f'<circle cx="24" cy="23" r="7" fill="{color}" stroke="#fff" stroke-width="1.5"/>' + mark)

CHECK = '<path d="M20.5 23 l2.5 2.6 l4.5 -5" fill="none" stroke="#fff" stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round"/>'
CROSS = '<path d="M21 20 l6 6 M27 20 l-6 6" stroke="#fff" stroke-width="2.2" stroke-linecap="round"/>'
BANG = '<path d="M24 18.5 v6" stroke="#fff" stroke-width="2.4" stroke-linecap="round"/><circle cx="24" cy="27.3" r="1.4" fill="#fff"/>'

def gear(cx, cy, r, color):
    teeth = ''.join(
        f'<rect x="{cx-1.8}" y="{cy-r-3}" width="3.6" height="5" fill="{color}" transform="rotate({a} {cx} {cy})"/>'
        for a in range(0, 360, 45))
    return teeth + f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{color}"/><circle cx="{cx}" cy="{cy}" r="{r*0.4}" fill="#fff"/>'

def person(cx, cy, s, color):
    return (f'<circle cx="{cx}" cy="{cy-5*s}" r="{4*s}" fill="{color}"/>'
            f'<path d="M{cx-7*s} {cy+8*s} q0 -9 {7*s} -9 q{7*s} 0 {7*s} 9 z" fill="{color}"/>')

ICONS = {
    # Toolbar (32 x 32).
    'login': person(13, 15, 1.0, '#2f6fb5') + '<circle cx="24" cy="20" r="4" fill="none" stroke="#d9a400" stroke-width="2.2"/><path d="M24 24 v6 M24 28 h3" stroke="#d9a400" stroke-width="2.2"/>',
    'exit': '<rect x="5" y="4" width="14" height="24" rx="1.5" fill="#8a6a46"/><circle cx="16" cy="16" r="1.3" fill="#f3d27a"/><path d="M18 16 h11 M24 11 l5 5 l-5 5" fill="none" stroke="#c62828" stroke-width="3" stroke-linecap="round" stroke-linejoin="round"/>',
    'import': '<path d="M3 9 h9 l3 3 h14 v15 h-26 z" fill="#e8b23a"/><path d="M16 3 v13 M11 11 l5 5 l5 -5" fill="none" stroke="#1e6fd0" stroke-width="3" stroke-linecap="round" stroke-linejoin="round"/>',
    'save': '<rect x="4" y="4" width="24" height="24" rx="2" fill="#2f5fa5"/><rect x="9" y="4" width="14" height="9" fill="#e9eef5"/><rect x="19" y="5.5" width="3" height="6" fill="#2f5fa5"/><rect x="8" y="17" width="16" height="9" rx="1" fill="#fff"/>',
    'firmware': '<rect x="8" y="8" width="16" height="16" rx="2" fill="#37474f"/>' + ''.join(f'<rect x="{x}" y="4" width="2" height="4" fill="#90a4ae"/><rect x="{x}" y="24" width="2" height="4" fill="#90a4ae"/>' for x in (11, 15, 19)) + '<path d="M16 11 v9 M12.5 16.5 l3.5 3.5 l3.5 -3.5" fill="none" stroke="#7cd67c" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>',
    'network': '<circle cx="16" cy="16" r="12" fill="#2e86de"/><path d="M4 16 h24 M16 4 q-8 12 0 24 q8 -12 0 -24" fill="none" stroke="#fff" stroke-width="1.6"/><ellipse cx="16" cy="16" rx="12" ry="5" fill="none" stroke="#fff" stroke-width="1.4"/>',
    'emptylog': '<path d="M9 10 h14 l-1.5 18 h-11 z" fill="#78909c"/><rect x="7" y="6.5" width="18" height="3" rx="1" fill="#546e7a"/><rect x="13" y="4" width="6" height="3" rx="1" fill="#546e7a"/><path d="M13 13 v12 M16 13 v12 M19 13 v12" stroke="#eceff1" stroke-width="1.5"/>',
    'reflash': '<path d="M26 12 a11 11 0 1 0 1 8" fill="none" stroke="#2e7d32" stroke-width="3.2" stroke-linecap="round"/><path d="M27.5 4.5 v8.5 h-8.5 z" fill="#2e7d32"/>',
    # Link pane.
    'link_none': monitor('', '#90a4ae'),
    'link_up': monitor(badge('#2e9d3e', CHECK)),
    'link_down': monitor(badge('#d32f2f', CROSS)),
    # Navigation pane, images 0 to 12.
    'nav00_control': monitor('<path d="M9 16 l4 -5 l4 3 l5 -6" fill="none" stroke="#fff" stroke-width="1.8"/>'),
    'nav01_state': monitor('<path d="M8 13 h16 M8 16 h12 M8 19 h14" stroke="#fff" stroke-width="1.5"/>'),
    'nav02_config': gear(16, 16, 9, '#607d8b'),
    'nav03_equipment': monitor(gear(24, 22, 4.5, '#f39c12')),
    'nav04_fire': '<path d="M16 3 q9 9 6 17 q-1 8 -6 9 q-8 -1 -8 -9 q0 -5 4 -9 q0 5 3 6 q-1 -7 1 -14 z" fill="#e53935"/><path d="M16 16 q4 4 2 9 q-2 2 -4 0 q-2 -4 2 -9 z" fill="#ffca28"/>',
    'nav05_group': person(10, 17, 0.8, '#5c6bc0') + person(22, 17, 0.8, '#5c6bc0') + person(16, 20, 0.95, '#283593'),
    'nav06_priority': person(11, 18, 0.9, '#00897b') + person(21, 18, 0.9, '#26a69a') + '<path d="M16 2 l2 4 h4 l-3 3 l1 4 l-4 -2 l-4 2 l1 -4 l-3 -3 h4 z" fill="#fbc02d"/>',
    'nav07_log': '<path d="M16 3 l11 4 v8 q0 9 -11 14 q-11 -5 -11 -14 v-8 z" fill="#3949ab"/><path d="M11 12 h10 M11 16 h10 M11 20 h7" stroke="#fff" stroke-width="1.7"/>',
    'nav08_other': '<path d="M6 26 l11 -11" stroke="#795548" stroke-width="4" stroke-linecap="round"/><path d="M17 15 a6 6 0 1 1 6 -9 l-4 4 l2 3 l3 2 l4 -4 a6 6 0 0 1 -9 6" fill="#78909c"/><path d="M8 6 l10 10 M20 24 l6 4" stroke="#546e7a" stroke-width="3" stroke-linecap="round"/>',
    'nav09_user': person(16, 17, 1.25, '#1565c0'),
    'nav10_state_fault': monitor(badge('#d32f2f', BANG)),
    'nav11_timing': '<circle cx="13" cy="14" r="10" fill="#2e86de"/><path d="M3 14 h20 M13 4 q-6 10 0 20 q6 -10 0 -20" fill="none" stroke="#fff" stroke-width="1.3"/><circle cx="23" cy="22" r="8" fill="#fff" stroke="#37474f" stroke-width="2"/><path d="M23 17 v5 l3 2" fill="none" stroke="#37474f" stroke-width="2" stroke-linecap="round"/>',
    'nav12_impedance': '<path d="M4 12 h6 l8 -7 v22 l-8 -7 h-6 z" fill="#455a64"/><path d="M21 10 q4 6 0 12 M24.5 7 q6 9 0 18" fill="none" stroke="#455a64" stroke-width="2.2" stroke-linecap="round"/>',
    # The application.
    'app': '<rect x="2" y="2" width="28" height="28" rx="6" fill="#c62828"/><path d="M7 13 h5 l7 -6 v18 l-7 -6 h-5 z" fill="#fff"/><path d="M22 11 q3 5 0 10 M25 8 q5 8 0 16" fill="none" stroke="#fff" stroke-width="2" stroke-linecap="round"/>',
}

def picture():
    """The system at a glance: the console, the network, the main host with
    its expansion hosts, paging consoles and speaker zones."""
    W, H = 1920, 1080
    p = [f'<defs><linearGradient id="bg" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#1d2b3a"/><stop offset="1" stop-color="#0e1620"/></linearGradient>'
         '<linearGradient id="rack" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#4a5866"/><stop offset="1" stop-color="#2c3640"/></linearGradient></defs>',
         f'<rect width="{W}" height="{H}" fill="url(#bg)"/>']
    # network line
    p.append('<path d="M360 540 H1240" stroke="#4fc3f7" stroke-width="6" stroke-dasharray="18 10"/>')
    # console PC
    p.append('<rect x="120" y="400" width="260" height="180" rx="12" fill="#263238" stroke="#90a4ae" stroke-width="4"/>'
             '<rect x="140" y="420" width="220" height="140" fill="#1e88e5"/>'
             '<rect x="225" y="580" width="50" height="40" fill="#263238"/><rect x="180" y="620" width="140" height="16" rx="6" fill="#263238"/>')
    for i, c in enumerate(('#e53935', '#fdd835', '#43a047')):
        p.append(f'<circle cx="{185 + i*60}" cy="490" r="20" fill="{c}"/>')
    # main host and expansion hosts (rack)
    p.append('<rect x="1240" y="250" width="300" height="600" rx="14" fill="url(#rack)" stroke="#90a4ae" stroke-width="4"/>')
    for i in range(6):
        y = 280 + i * 92
        p.append(f'<rect x="1265" y="{y}" width="250" height="70" rx="6" fill="#37474f" stroke="#78909c" stroke-width="2"/>')
        for j in range(8):
            p.append(f'<circle cx="{1290 + j*26}" cy="{y+24}" r="7" fill="{"#66bb6a" if (i+j)%7 else "#ffca28"}"/>')
        p.append(f'<rect x="1280" y="{y+42}" width="170" height="12" rx="4" fill="#263238"/>')
    # speakers fanning out to zones
    for i in range(6):
        y = 250 + i * 120
        p.append(f'<path d="M1540 {300 + i*92} C1620 {300 + i*92} 1640 {y+40} 1700 {y+40}" stroke="#80cbc4" stroke-width="3" fill="none"/>')
        p.append(f'<path d="M1700 {y+25} h22 l30 -25 v80 l-30 -25 h-22 z" fill="#cfd8dc"/>'
                 f'<path d="M1770 {y+20} q14 20 0 40 M1785 {y+8} q24 32 0 64" fill="none" stroke="#cfd8dc" stroke-width="5" stroke-linecap="round"/>')
    # paging consoles below the network
    for i in range(3):
        x = 520 + i * 240
        p.append(f'<path d="M{x+80} 540 V700" stroke="#4fc3f7" stroke-width="4"/>'
                 f'<rect x="{x}" y="700" width="160" height="110" rx="12" fill="#37474f" stroke="#90a4ae" stroke-width="3"/>'
                 f'<rect x="{x+70}" y="640" width="14" height="70" rx="7" fill="#90a4ae"/><circle cx="{x+77}" cy="632" r="18" fill="#b0bec5"/>')
        for r in range(2):
            for c in range(4):
                p.append(f'<rect x="{x+18+c*34}" y="{722+r*40}" width="24" height="24" rx="4" fill="{"#ef5350" if c == 0 else "#81c784"}"/>')
    p.append('<text x="960" y="140" text-anchor="middle" font-family="DejaVu Sans, Arial" font-size="64" fill="#eceff1" font-weight="bold">Emergency Voice Alarm System</text>')
    p.append('<text x="960" y="205" text-anchor="middle" font-family="DejaVu Sans, Arial" font-size="32" fill="#90a4ae">QAVO console  ·  hosts, speaker zones, contacts, relays and paging consoles</text>')
    return svg(0, ''.join(p), W, H)

def main():
    os.makedirs(OUT, exist_ok=True)
    for name, body in ICONS.items():
        with open(os.path.join(OUT, name + '.svg'), 'w') as f:
            f.write(svg(32, body))
    with open(os.path.join(OUT, 'system_picture.svg'), 'w') as f:
        f.write(picture())

if __name__ == '__main__':
    main()
