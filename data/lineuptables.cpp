#include "lineuptables.h"

const QList<TLineupTable>& LineupTables()
{
    static const QList<TLineupTable> tables{
        {QStringLiteral("videosource"),
         {QStringLiteral("sourceid"), QStringLiteral("name"), QStringLiteral("xmltvgrabber"),
          QStringLiteral("userid")},
         {QStringLiteral("sourceid")},
         {}},
        {QStringLiteral("channel"),
         {QStringLiteral("chanid"), QStringLiteral("channum"), QStringLiteral("channum_real"),
          QStringLiteral("sourceid"), QStringLiteral("callsign"), QStringLiteral("name"),
          QStringLiteral("icon"), QStringLiteral("finetune"), QStringLiteral("videofilters"),
          QStringLiteral("xmltvid"), QStringLiteral("contrast"), QStringLiteral("brightness"),
          QStringLiteral("colour")},
         {QStringLiteral("chanid"), QStringLiteral("sourceid"), QStringLiteral("finetune"),
          QStringLiteral("contrast"), QStringLiteral("brightness"), QStringLiteral("colour")},
         {}},
        {QStringLiteral("channel_dvb"),
         {QStringLiteral("chanid"), QStringLiteral("listingid"), QStringLiteral("freq"),
          QStringLiteral("pol"), QStringLiteral("symbol_rate"), QStringLiteral("tone"),
          QStringLiteral("diseqc"), QStringLiteral("pids"), QStringLiteral("inversion"),
          QStringLiteral("bandwidth"), QStringLiteral("hp_code_rate"),
          QStringLiteral("lp_code_rate"), QStringLiteral("modulation"),
          QStringLiteral("transmission_mode"), QStringLiteral("guard_interval"),
          QStringLiteral("hierarchy")},
         {QStringLiteral("chanid")},
         {}},
        {QStringLiteral("capturecard"),
         {QStringLiteral("cardid"), QStringLiteral("videodevice"), QStringLiteral("audiodevice"),
          QStringLiteral("vbidevice"), QStringLiteral("cardtype"), QStringLiteral("defaultinput"),
          QStringLiteral("audioratelimit"), QStringLiteral("hostname"), QStringLiteral("dvb_type"),
          QStringLiteral("use_ts")},
         {QStringLiteral("cardid"), QStringLiteral("audioratelimit"), QStringLiteral("use_ts")},
         {QStringLiteral("use_ts")}},
        {QStringLiteral("cardinput"),
         {QStringLiteral("cardinputid"), QStringLiteral("cardid"), QStringLiteral("sourceid"),
          QStringLiteral("inputname"), QStringLiteral("externalcommand"),
          QStringLiteral("preference"), QStringLiteral("shareable"), QStringLiteral("tunechan"),
          QStringLiteral("startchan")},
         {QStringLiteral("cardinputid"), QStringLiteral("cardid"), QStringLiteral("sourceid"),
          QStringLiteral("preference"), QStringLiteral("startchan")},
         {}}};
    return tables;
}

const TLineupTable* LineupTable(const QString& name)
{
    for (const TLineupTable& table : LineupTables())
        if (table.name == name)
            return &table;
    return nullptr;
}
