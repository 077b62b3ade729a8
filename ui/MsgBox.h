#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <functional>

// The one way the program shows a message: every box has the title
// "Korvane". Tests replace the boxes with a handler (see Recorder).
namespace MsgBox {

inline const QString Title = QStringLiteral("Korvane");

enum class Kind {
    Information,  // OK, information icon
    Confirmation, // Yes / No, question icon
    Plain         // OK, no icon
};

void information(QWidget* parent, const QString& text);
// Yes -> true.
bool confirm(QWidget* parent, const QString& text);
void plain(QWidget* parent, const QString& text);

// When set, called instead of showing a box; its answer is the pressed button.
using Handler = std::function<QMessageBox::StandardButton(Kind, const QString& text)>;
void setTestHandler(Handler handler);
const Handler& testHandler();

struct Message {
    Kind kind;
    QString text;
};

// Records every message while it lives and answers confirmations with
// answer(); restores the handler that was set before it.
class Recorder {
public:
    explicit Recorder(bool answerYes = true);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void setAnswer(bool yes) { m_answerYes = yes; }
    bool answer() const { return m_answerYes; }

    const QList<Message>& messages() const { return m_messages; }
    QStringList texts() const;
    qsizetype count() const { return m_messages.size(); }
    bool isEmpty() const { return m_messages.isEmpty(); }
    // The newest message; an empty Information message when there is none.
    Message last() const;
    void clear() { m_messages.clear(); }

private:
    Handler m_previous;
    QList<Message> m_messages;
    bool m_answerYes;
};

} // namespace MsgBox
