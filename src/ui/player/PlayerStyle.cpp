#include "ui/player/PlayerStyle.h"

namespace Orbisong {

QString PlayerStyleSheet()
{
    return QStringLiteral(R"(
QWidget#ControlPanel { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfcfe,
                       stop:1 #eef1f6); border-bottom: 1px solid #d5dae3; }
QToolButton#TimeButton, QToolButton#MiniTimeButton { background: #17202c; color: #7fd8ff;
    border: 1px solid #0d141c; border-radius: 6px; padding: 2px 8px;
    font-family: "DejaVu Sans Mono", monospace; font-weight: bold; }
QToolButton#TimeButton:disabled, QToolButton#MiniTimeButton:disabled { color: #4d6272; }
QToolButton#TimeButton { font-size: 18px; }
QToolButton#MiniTimeButton { font-size: 13px; }
QToolButton { border: 1px solid transparent; border-radius: 4px; padding: 2px; }
QToolButton:hover { background: #e1e8f2; border-color: #c7d2e2; }
QToolButton:checked { background: #d3e3f8; border-color: #93b4de; }
QToolButton:disabled { opacity: 0.4; }
QLabel#UserLabel { font-size: 13px; color: #334155; }
QWidget#DetailPanel { background: #ffffff; border-bottom: 1px solid #e3e7ee; }
QLabel#TitleLabel { font-weight: bold; font-size: 14px; color: #111827; }
QLabel#ArtistLabel { color: #4b5563; }
QWidget#StatusPanel { background: #f3f5f9; border-top: 1px solid #dde2ea; }
QLabel#StatusLabel, QLabel#SummaryLabel { color: #475569; }
QListWidget#PlaylistList { border: none; }
QTabBar::tab { padding: 3px 10px; }
)");
}

} // namespace Orbisong
