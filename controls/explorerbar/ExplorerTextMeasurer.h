#pragma once
#include <QFont>
#include <QString>

namespace picbasket {

// How the explorer bar measures its texts, so that its layout can be computed with
// the widget's fonts or, in tests, with fixed metrics.
class ExplorerTextMeasurer {
public:
    // The three text styles of the bar: item captions (underlined), header captions
    // and the details title (bold), the details text (plain).
    enum class Style { Item, Bold, Plain };
    virtual ~ExplorerTextMeasurer() = default;
    // Width of the text on one line.
    virtual int TextWidth(const QString& text, Style style = Style::Item) const = 0;
    // Height of the text word-wrapped between the x positions left and right.
    virtual int GetTextHeight(int left, int right, const QString& text,
                              Style style = Style::Item) const = 0;
};

// Measures with the fonts the bar draws with, derived from its control font.
class FontTextMeasurer : public ExplorerTextMeasurer {
public:
    explicit FontTextMeasurer(const QFont& controlFont);
    int TextWidth(const QString& text, Style style = Style::Item) const override;
    int GetTextHeight(int left, int right, const QString& text,
                      Style style = Style::Item) const override;
    // The control font in one of the bar's styles.
    static QFont fontFor(const QFont& controlFont, Style style);

private:
    QFont controlFont_;
};

} // namespace picbasket
