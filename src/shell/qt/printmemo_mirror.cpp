// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/printmemo_mirror.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>

#include "i18n/qt/qt_text.h"

namespace orbela {

void PrintmemoMirror::RowChanged(int row)
{
    QTextBlock block = memo_.document()->findBlockByNumber(row);
    if (!block.isValid()) {
        Reset();
        return;
    }
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(FromCp1250(screen_.Row(row)));
    KeepCaretOnLastRow();
}

void PrintmemoMirror::Scrolled()
{
    QTextDocument* document = memo_.document();
    if (document->blockCount() != Screen::Rows) {
        Reset();
        return;
    }
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    // The model is the truth: the new last row may already hold text.
    RowChanged(Screen::Rows - 1);
}

void PrintmemoMirror::Reset()
{
    QStringList rows;
    for (int row = 0; row < Screen::Rows; ++row)
        rows << FromCp1250(screen_.Row(row));
    memo_.setPlainText(rows.join('\n'));
    KeepCaretOnLastRow();
}

// The caret stands where the game writes, as a terminal's does: a screen
// reader arriving in the screen reads the row being written, not a stale
// one at the top.
void PrintmemoMirror::KeepCaretOnLastRow()
{
    QTextCursor caret(memo_.document()->lastBlock());
    if (memo_.textCursor().position() != caret.position())
        memo_.setTextCursor(caret);
}

} // namespace orbela
