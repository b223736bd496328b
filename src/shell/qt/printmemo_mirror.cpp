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
}

} // namespace orbela
