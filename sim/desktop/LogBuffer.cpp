#include "sim/desktop/LogBuffer.h"

void LogBuffer::append(std::string_view text)
{
    // A single entry longer than the whole log keeps its end.
    if (text.size() > kLimit) {
        text.remove_prefix(text.size() - kLimit);
    }
    std::lock_guard<std::mutex> guard(lock_);
    while (!text_.empty() && text_.size() + text.size() > kLimit) {
        const std::size_t end = text_.find('\n');
        // Without a line feed the only line is the oldest: it goes whole.
        text_.erase(0, end == std::string::npos ? text_.size() : end + 1);
    }
    text_ += text;
}

void LogBuffer::clear()
{
    std::lock_guard<std::mutex> guard(lock_);
    text_.clear();
}

std::string LogBuffer::text() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return text_;
}

std::vector<LogBuffer::Segment> LogBuffer::segments(std::string_view line)
{
    std::vector<Segment> out;
    bool red = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == kRed) {
            if (i > start) {
                out.push_back({std::string(line.substr(start, i - start)), red});
            }
            red = true;
            start = i + 1;
        }
    }
    return out;
}
