#include "keyboard/qt/tform2.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "i18n/qt/qt_text.h"
#include "keyboard/qt/cp1250_validator.h"

namespace orbela {
namespace {

constexpr int OkString = 7;
constexpr int CaptionString = 23;
constexpr int ExitProgramString = 45;

QString WithoutAccelerator(QString text)
{
    return text.remove('&');
}

} // namespace

TForm2::TForm2(int language, QWidget* parent) : QDialog(parent)
{
    setObjectName("TForm2");
    setModal(true);
    inputedit = new QLineEdit(this);
    inputedit->setObjectName("inputedit");
    inputedit->setValidator(new Cp1250Validator(inputedit));

    Enterbitbtn = new QPushButton(this);
    Enterbitbtn->setObjectName("Enterbitbtn");
    Enterbitbtn->setDefault(true);
    exitprogrambtn = new QPushButton(this);
    exitprogrambtn->setObjectName("exitprogrambtn");
    exitprogrambtn->setAutoDefault(false);
    connect(Enterbitbtn, &QPushButton::clicked, this, [this] { done(ModalResultOk); });
    connect(exitprogrambtn, &QPushButton::clicked, this, &TForm2::exitprogrambtnClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Enterbitbtn);
    buttons->addWidget(exitprogrambtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(inputedit);
    layout->addLayout(buttons);
    setTabOrder(inputedit, Enterbitbtn);
    setTabOrder(Enterbitbtn, exitprogrambtn);
    FormCreate(language);
}

void TForm2::FormCreate(int language)
{
    setWindowTitle(LanguageText(language, CaptionString));
    setAccessibleName(windowTitle());
    inputedit->setAccessibleName(windowTitle());
    Enterbitbtn->setText(LanguageText(language, OkString));
    Enterbitbtn->setAccessibleName(WithoutAccelerator(Enterbitbtn->text()));
    exitprogrambtn->setText(LanguageText(language, ExitProgramString));
    exitprogrambtn->setAccessibleName(WithoutAccelerator(exitprogrambtn->text()));
}

void TForm2::ClearField()
{
    inputedit->clear();
    inputedit->setFocus();
}

int TForm2::ShowModal()
{
    inputedit->setFocus();
    return exec();
}

std::string TForm2::FieldText() const
{
    return ToCp1250(inputedit->text());
}

void TForm2::keyPressEvent(QKeyEvent* event)
{
    // The dialog is left only by confirming or by ending the program.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (endProgram_)
        endProgram_();
}

void TForm2::exitprogrambtnClick()
{
    if (endProgram_)
        endProgram_();
}

} // namespace orbela
