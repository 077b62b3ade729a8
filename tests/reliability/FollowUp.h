#pragma once

// The follow-up window filled as the enquiry status list fills it for
// enquiry 1 of the reliability fixtures (client Apex, one pending record),
// shown, with the next follow-up date typed.

#include "TypeDate.h"
#include "screens/enquiry/frmViewHistory.h"
#include "ui/Grid.h"
#include "ui/Modal.h"
#include "ui/Tag.h"

#include <QLineEdit>
#include <QRadioButton>

namespace reliability {

inline frmViewHistory* ShowFollowUpOfEnquiry1()
{
    auto* f = new frmViewHistory;
    f->txtClient->setText(QStringLiteral("Apex"));
    SetTag(f->txtClient, QStringLiteral("1"));
    f->txtAmount->setText(QStringLiteral("150000"));
    f->grdView->setRows(1);
    SetTag(f->grdView, QStringLiteral("1"));
    f->grdView->addItem(QStringLiteral("1\t25/01/2024\tfirst call\tPending\t40"));
    f->optPending->setChecked(true);
    f->txtPercent->setText(QStringLiteral("40"));
    ShowModal(f);
    TypeDate(f->mskFDate2, QStringLiteral("01042024"));
    return f;
}

} // namespace reliability
