#include "customer_window.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "language_texts.hpp"

namespace kelvra {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TfrmCustomer::TfrmCustomer(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCustomer");
    setWindowTitle(Q(Text("frmCustomer", "Project Details")));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto edit = [this, form](const char* name, const QString& caption) {
        auto* line = new QLineEdit(this);
        line->setObjectName(name);
        line->setMaxLength(static_cast<int>(ProjectDetails::kTextLength));
        line->setMinimumWidth(260);
        form->addRow(caption, line);
        return line;
    };
    edProject_ = edit("edProject", Q(Text("lblProjectName", "Project Name")));
    edContact_ = edit("edContact", Q(Text("lblContactName", "Contact Name")));
    edCompany_ = edit("edCompany", Q(Text("lblCompanyName", "Company Name")));
    edAddress1_ = edit("edAddress1", Q(Text("lblAddress1", "Address 1")));
    edAddress2_ = edit("edAddress2", Q(Text("lblAddress2", "Address 2")));
    edAddress3_ = edit("edAddress3", Q(Text("lblAddress3", "Address 3")));
    edPostcode_ = edit("edPostcode", Q(Text("lblPostcode", "Postcode")));
    // the postcode is typed in upper case
    connect(edPostcode_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = Q(UpperCaseText(text.toStdString()));
        if (upper == text) return;
        const int cursor = edPostcode_->cursorPosition();
        edPostcode_->setText(upper);
        edPostcode_->setCursorPosition(cursor);
    });
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("btnOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void TfrmCustomer::setFields(const CustomerFields& f) {
    edProject_->setText(Q(f.project));
    edContact_->setText(Q(f.contact));
    edCompany_->setText(Q(f.company));
    edAddress1_->setText(Q(f.address1));
    edAddress2_->setText(Q(f.address2));
    edAddress3_->setText(Q(f.address3));
    edPostcode_->setText(Q(f.postcode));
    edProject_->setFocus();
}

CustomerFields TfrmCustomer::fields() const {
    CustomerFields f;
    f.project = edProject_->text().toStdString();
    f.contact = edContact_->text().toStdString();
    f.company = edCompany_->text().toStdString();
    f.address1 = edAddress1_->text().toStdString();
    f.address2 = edAddress2_->text().toStdString();
    f.address3 = edAddress3_->text().toStdString();
    f.postcode = UpperCaseText(edPostcode_->text().toStdString());
    return f;
}

}  // namespace kelvra
