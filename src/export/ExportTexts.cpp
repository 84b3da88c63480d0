#include "export/ExportTexts.h"

#include "platform/MoneyFormatter.h"

ExportTexts ExportTexts::fromTextTable(const std::function<QString(int id)> &lookup)
{
    static constexpr std::array<int, 8> CaptionIds = {1002, 1003, 1004, 1005, 1007, 1008, 1015, 1016};
    ExportTexts texts;
    for (std::size_t i = 0; i < CaptionIds.size(); ++i)
        texts.captions[i] = lookup(CaptionIds[i]);
    texts.credit = lookup(1041);
    texts.debit = lookup(1042);
    texts.appointment = lookup(1043);
    texts.closed = lookup(1107);
    texts.open = lookup(1030);
    texts.counterWord = lookup(1050);
    texts.outOfRange = lookup(AmountOutOfRangeTextId);
    return texts;
}

QString ExportTexts::typeName(int type) const
{
    switch (type) {
    case 1:
        return credit;
    case -1:
        return debit;
    case -2:
        return appointment;
    default:
        return QString();
    }
}

QString ExportTexts::stateName(bool done) const
{
    return done ? closed : open;
}
