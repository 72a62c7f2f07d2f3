// CKBalloonTextView: the text inside a balloon. It breaks the text into lines
// at spaces (and inside a word too long for a line), draws it in the text
// colour and the link in the link colour with an underline.
#include "ChatKitInternals.h"
#include "ChatKitMetrics.h"
#include "ChatKitRegistration.h"

#include <CoreGraphics/CGCairo.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIView.h>

#include <cmath>
#include <vector>

namespace chatkit {
namespace {

struct Piece {
    std::string text;
    bool link = false;
};
using Word = std::vector<Piece>;
struct Line {
    std::vector<Word> words;
};

CGCairoFont balloonFont() {
    CGCairoFont font;
    font.family = "Helvetica Neue";
    font.size = metrics::kBalloonTextSize;
    return font;
}

CGFloat widthOf(const CGCairoFont& font, const Word& word) {
    CGFloat width = 0;
    for (const Piece& p : word) width += CGCairoTextWidth(font, p.text);
    return width;
}

std::size_t codePointLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Cuts a word wider than the line into parts that fit, at character
// boundaries (at least one character per part).
std::vector<Word> splitWord(const CGCairoFont& font, const Word& word, CGFloat maxWidth) {
    std::vector<Word> parts(1);
    CGFloat width = 0;
    for (const Piece& piece : word) {
        for (std::size_t i = 0; i < piece.text.size();) {
            std::size_t n = std::min(codePointLength(static_cast<unsigned char>(piece.text[i])), piece.text.size() - i);
            std::string ch = piece.text.substr(i, n);
            i += n;
            CGFloat w = CGCairoTextWidth(font, ch);
            if (width + w > maxWidth && !parts.back().empty()) {
                parts.emplace_back();
                width = 0;
            }
            Word& part = parts.back();
            if (part.empty() || part.back().link != piece.link) part.push_back({"", piece.link});
            part.back().text += ch;
            width += w;
        }
    }
    return parts;
}

// The words of the text, each cut into pieces at the link's boundaries.
std::vector<std::vector<Word>> paragraphs(const BalloonText& t) {
    std::size_t linkStart = t.link.empty() ? std::string::npos : t.text.find(t.link);
    std::size_t linkEnd = linkStart == std::string::npos ? linkStart : linkStart + t.link.size();
    auto inLink = [&](std::size_t at) { return linkStart != std::string::npos && at >= linkStart && at < linkEnd; };

    std::vector<std::vector<Word>> result(1);
    Word word;
    auto endWord = [&] {
        if (!word.empty()) result.back().push_back(std::move(word));
        word.clear();
    };
    for (std::size_t i = 0; i < t.text.size(); ++i) {
        char c = t.text[i];
        if (c == ' ') {
            endWord();
        } else if (c == '\n') {
            endWord();
            result.emplace_back();
        } else {
            bool link = inLink(i);
            if (word.empty() || word.back().link != link) word.push_back({"", link});
            word.back().text += c;
        }
    }
    endWord();
    return result;
}

std::vector<Line> layout(const CGCairoFont& font, const BalloonText& text, CGFloat maxWidth) {
    const CGFloat space = CGCairoTextWidth(font, " ");
    std::vector<Line> lines;
    for (const auto& words : paragraphs(text)) {
        lines.emplace_back();
        CGFloat width = 0;
        for (const Word& whole : words) {
            std::vector<Word> parts =
                widthOf(font, whole) > maxWidth ? splitWord(font, whole, maxWidth) : std::vector<Word>{whole};
            for (const Word& w : parts) {
                CGFloat ww = widthOf(font, w);
                if (!lines.back().words.empty() && width + space + ww > maxWidth) {
                    lines.emplace_back();
                    width = 0;
                }
                width += (lines.back().words.empty() ? 0 : space) + ww;
                lines.back().words.push_back(w);
            }
        }
    }
    return lines;
}

CGFloat lineWidth(const CGCairoFont& font, const Line& line) {
    CGFloat width = 0;
    for (std::size_t i = 0; i < line.words.size(); ++i) {
        width += (i ? CGCairoTextWidth(font, " ") : 0) + widthOf(font, line.words[i]);
    }
    return width;
}

struct TextViewState {
    BalloonText text;
    Ref<UI::Color> textColor;
    Ref<UI::Color> linkColor;
};

TextViewState& stateOf(objc::AnyObject self) { return objc::state<TextViewState>(self); }

void drawRect(id self, SEL, CGRect) {
    CGContextRef c = UIGraphicsGetCurrentContext();
    TextViewState& s = stateOf(self);
    if (c == nullptr) return;
    const CGCairoFont font = balloonFont();
    const CGCairoFontMetrics m = CGCairoFontGetMetrics(font);
    const CGFloat space = CGCairoTextWidth(font, " ");
    // Half a point of slack keeps the lines the balloon was measured with.
    const CGFloat width = objc::cast<UI::View>(self)->bounds().size.width + 0.5;
    CGFloat baseline = m.ascent;
    for (const Line& line : layout(font, s.text, width)) {
        CGFloat x = 0;
        for (std::size_t i = 0; i < line.words.size(); ++i) {
            if (i) x += space;
            for (const Piece& p : line.words[i]) {
                UI::Color* color = p.link ? s.linkColor.get() : s.textColor.get();
                CGColorRef cg = color ? color->CGColor() : nullptr;
                CGFloat w = CGCairoTextWidth(font, p.text);
                if (cg) {
                    CGCairoContextShowText(c, font, p.text, CGPointMake(x, baseline), cg);
                    if (p.link) {
                        CGContextSetFillColorWithColor(c, cg);
                        CGContextFillRect(c, CGRectMake(x, baseline + 2, w, 1));
                    }
                }
                x += w;
            }
        }
        baseline += m.lineHeight;
    }
}

}  // namespace

CGSize balloonTextSize(const BalloonText& text, CGFloat maxWidth) {
    const CGCairoFont font = balloonFont();
    std::vector<Line> lines = layout(font, text, maxWidth);
    CGFloat width = 0;
    for (const Line& line : lines) width = std::max(width, lineWidth(font, line));
    const CGCairoFontMetrics m = CGCairoFontGetMetrics(font);
    return CGSizeMake(std::ceil(width), std::ceil(m.lineHeight * CGFloat(lines.size())));
}

UI::View* newBalloonTextView(const BalloonText& text) {
    auto* view =
        objc::send<UI::View*>(objc::send<id>("CKBalloonTextView"_cls, "alloc"_sel), "initWithFrame:"_sel, CGRectZero);
    view->setOpaque(NO);
    view->setUserInteractionEnabled(NO);
    stateOf(view).text = text;
    view->setNeedsDisplay();
    return view;
}

void setBalloonTextColors(UI::View* view, UI::Color* text, UI::Color* link) {
    if (view == nullptr) return;
    TextViewState& s = stateOf(view);
    auto same = [](UI::Color* a, UI::Color* b) { return a == b || (a && b && a->isEqual(b)); };
    if (same(s.textColor.get(), text) && same(s.linkColor.get(), link)) return;
    s.textColor = text;
    s.linkColor = link;
    view->setNeedsDisplay();
}

void setBalloonText(UI::View* view, const BalloonText& text) {
    if (view == nullptr) return;
    stateOf(view).text = text;
    view->setNeedsDisplay();
}

void registerBalloonTextView() {
    objc::ClassBuilder("CKBalloonTextView", "UIView"_cls).state<TextViewState>().method("drawRect:", &drawRect).build();
}

}  // namespace chatkit
