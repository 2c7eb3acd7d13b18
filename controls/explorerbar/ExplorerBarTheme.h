#pragma once
#include <QString>
#include <cstdint>
#include <functional>

class QPainter;
class QWidget;

namespace picbasket {

// The one drawing request shared by the bar's painting routines.
struct typThemePart {
    QString ClassName = QStringLiteral("Explorerbar");
    int32_t PartId = 1;
    int32_t StateId = 1; // 1 normal, 2 hot, 3 pressed
    const QWidget* hWnd = nullptr; // the widget painted on (the bar or a hosted container)
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    QString Text;
    uint32_t TextFlags = 0x40024; // single line, vertically centred, word ellipsis
    int32_t TextIndent = 0;
    int32_t TextRightMargin = 25;
    bool Drawn = false; // true when the visual style drew the part
};

// The visual style as the bar sees it: the colour scheme selects its look
// ("Classic", "Metallic", "HomeStead", anything else: all drawn by the style).
// Without theme data for "ExplorerBar" the scheme is "Classic" and the file
// name keeps its previous value.
void GetThemeInfo(const QWidget* widget, QString& themeFile, QString& colorScheme);

// Draws `part` with the visual style onto `painter` and sets part.Drawn; failures
// go to `ignore` and leave Drawn false so the caller draws the classic look. With
// the "Classic" scheme nothing is drawn and nothing of the style is called.
void PaintThemePart(QPainter& painter, typThemePart& part, const QString& colorScheme,
                    bool useUxThemeText, const std::function<void(const QString&)>& ignore);

} // namespace picbasket
