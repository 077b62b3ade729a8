#pragma once

#include <QLineEdit>

// Masked date box with the mask "##/##/####" and "_" as prompt. Its text
// includes the prompts: "__/__/____" when nothing was typed, "12/0_/____"
// when half typed. setText("__/__/____") (or "") empties it; setText with
// a "dd/mm/yyyy" date shows the date. Clearing it through QLineEdit's own
// setText("") gives the empty mask too.
class MaskEdBox : public QLineEdit {
    Q_OBJECT
public:
    static constexpr const char* EmptyText = "__/__/____";

    explicit MaskEdBox(QWidget* parent = nullptr);

    // The text with prompts (hides QLineEdit::text, which drops them).
    QString text() const { return displayText(); }
    QString maskedText() const { return displayText(); }
    void setText(const QString& text);
    void clearDate() { setText(QString()); }
    bool isBlank() const { return displayText() == QLatin1String(EmptyText); }

signals:
    // Every character key, with its code (13 for Enter); a handler may set
    // the code to 0 to discard the key.
    void keyPress(int& keyAscii);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
