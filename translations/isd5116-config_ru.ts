<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>isd::ControlTable</name>
    <message>
        <source>ISD5116 register composer</source>
        <translation>Калькулятор регистров ISD5116</translation>
    </message>
</context>
<context>
    <name>isd::Descriptions</name>
    <message>
        <source>%1: checked means powered (%2 %3)</source>
        <translation>%1: отмечено — питание включено (%2 %3)</translation>
    </message>
    <message>
        <source>%1: checked selects %2 (%3 %4)</source>
        <translation>%1: отмечено — выбран %2 (%3 %4)</translation>
    </message>
    <message>
        <source>%1, %2: 1 means %3</source>
        <translation>%1, %2: 1 — %3</translation>
    </message>
    <message>
        <source>%1, bit %2 of %3: %4</source>
        <translation>%1, бит %2 поля %3: %4</translation>
    </message>
    <message>
        <source>%1 hexadecimal word</source>
        <translation>шестнадцатеричное слово %1</translation>
    </message>
    <message>
        <source>%1 hex %2</source>
        <translation>%1, шестнадцатеричное %2</translation>
    </message>
    <message>
        <source>%1 as a hexadecimal word, D15-D0</source>
        <translation>%1 в виде шестнадцатеричного слова, D15-D0</translation>
    </message>
    <message>
        <source>%1 register header</source>
        <translation>заголовок регистра %1</translation>
    </message>
    <message>
        <source>Field names and bit numbers of %1, D15 to D0</source>
        <translation>Имена полей и номера бит регистра %1, с D15 по D0</translation>
    </message>
    <message>
        <source>Signal-path diagram</source>
        <translation>Схема сигнальных цепей</translation>
    </message>
    <message>
        <source>Block diagram of the chip&apos;s analog path; paths in use are drawn in red</source>
        <translation>Структурная схема аналогового тракта микросхемы; задействованные цепи выделены красным</translation>
    </message>
</context>
<context>
    <name>isd::Field</name>
    <message>
        <source>gain of the ANA IN amplifier</source>
        <translation>усиление усилителя ANA IN</translation>
    </message>
    <message>
        <source>ANA IN amplifier power</source>
        <translation>питание усилителя ANA IN</translation>
    </message>
    <message>
        <source>powered down</source>
        <translation>питание выключено</translation>
    </message>
    <message>
        <source>gain of the AUX IN amplifier</source>
        <translation>усиление усилителя AUX IN</translation>
    </message>
    <message>
        <source>AUX IN amplifier power</source>
        <translation>питание усилителя AUX IN</translation>
    </message>
    <message>
        <source>input source</source>
        <translation>источник входного сигнала</translation>
    </message>
    <message>
        <source>AUX IN instead of MIC IN</source>
        <translation>AUX IN вместо MIC IN</translation>
    </message>
    <message>
        <source>source of the analog output multiplexer</source>
        <translation>источник аналогового выходного мультиплексора</translation>
    </message>
    <message>
        <source>analog output amplifier power</source>
        <translation>питание аналогового выходного усилителя</translation>
    </message>
    <message>
        <source>source of the output multiplexer</source>
        <translation>источник выходного мультиплексора</translation>
    </message>
    <message>
        <source>output amplifier: off, speaker or AUX OUT</source>
        <translation>выходной усилитель: выключен, динамик или AUX OUT</translation>
    </message>
    <message>
        <source>volume control power</source>
        <translation>питание регулятора громкости</translation>
    </message>
    <message>
        <source>source of the volume multiplexer</source>
        <translation>источник мультиплексора громкости</translation>
    </message>
    <message>
        <source>volume step</source>
        <translation>шаг громкости</translation>
    </message>
    <message>
        <source>source of the SUM1 multiplexer</source>
        <translation>источник мультиплексора SUM1</translation>
    </message>
    <message>
        <source>inputs mixed by the SUM1 amplifier</source>
        <translation>входы, смешиваемые усилителем SUM1</translation>
    </message>
    <message>
        <source>inputs mixed by the SUM2 amplifier</source>
        <translation>входы, смешиваемые усилителем SUM2</translation>
    </message>
    <message>
        <source>filter input</source>
        <translation>вход фильтра</translation>
    </message>
    <message>
        <source>ARRAY instead of SUM1</source>
        <translation>ARRAY вместо SUM1</translation>
    </message>
    <message>
        <source>frequency of the low-pass filter</source>
        <translation>частота фильтра нижних частот</translation>
    </message>
    <message>
        <source>low-pass filter power</source>
        <translation>питание фильтра нижних частот</translation>
    </message>
    <message>
        <source>AGC amplifier power</source>
        <translation>питание усилителя AGC</translation>
    </message>
</context>
</TS>
