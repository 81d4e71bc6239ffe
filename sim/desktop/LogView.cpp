#include "sim/desktop/LogView.h"

#include <QPainter>
#include <string_view>
#include <vector>

#include "sim/desktop/LogBuffer.h"

LogView::LogView(LogBuffer& log) : log_(log)
{
    setWindowTitle("Log");
    resize(480, 300);
}

void LogView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const std::string text = log_.text();
    std::vector<std::string_view> lines;
    std::string_view rest(text);
    for (;;) {
        const std::size_t nl = rest.find('\n');
        lines.push_back(rest.substr(0, nl));
        if (nl == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(nl + 1);
    }
    const QFontMetrics metrics(font());
    int y = height() - metrics.descent() - 2;
    for (auto it = lines.rbegin(); it != lines.rend() && y > 0; ++it, y -= metrics.height()) {
        int x = 4;
        for (const LogBuffer::Segment& s : LogBuffer::segments(*it)) {
            const QString part =
                QString::fromUtf8(s.text.data(), static_cast<qsizetype>(s.text.size())).remove(QLatin1Char('\r'));
            painter.setPen(s.red ? Qt::red : Qt::black);
            painter.drawText(x, y, part);
            x += metrics.horizontalAdvance(part);
        }
    }
}
