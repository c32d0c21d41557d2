<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Fixture</name>
    <message>
        <source>Finished</source>
        <translation>Готово</translation>
    </message>
    <message>
        <source>Unfinished with a translation</source>
        <translation type="unfinished">Черновик</translation>
    </message>
    <message>
        <source>Unfinished without one</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Obsolete</source>
        <translation type="obsolete">Устарело</translation>
    </message>
    <message>
        <source>Vanished</source>
        <translation type="vanished">Исчезло</translation>
    </message>
    <message>
        <source>Disambiguated</source>
        <comment>a verb</comment>
        <translation>Уточнено</translation>
    </message>
    <message>
        <source>Bell<byte value="x7"/> &lt;and&gt; &quot;more&quot;</source>
        <translation>Звонок<byte value="7"/> &lt;и&gt; «ещё»</translation>
    </message>
    <message numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>%n файл</numerusform>
            <numerusform>%n файла</numerusform>
            <numerusform>%n файлов</numerusform>
        </translation>
    </message>
</context>
</TS>
