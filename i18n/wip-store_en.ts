<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AlarmForwarding</name>
    <message>
        <location filename="../store/AlarmForwarding.cpp" line="56"/>
        <source>服务器拒绝写入报警: %1</source>
        <translation>Server refused the alarm events: %1</translation>
    </message>
    <message>
        <location filename="../store/AlarmForwarding.cpp" line="82"/>
        <source>服务器拒绝写入报警确认: %1</source>
        <translation>Server refused the alarm acknowledgements: %1</translation>
    </message>
</context>
<context>
    <name>AnalyseCommand</name>
    <message>
        <location filename="../wave/AnalyseCommand.cpp" line="45"/>
        <source>频谱文件</source>
        <translation>spectrum file</translation>
    </message>
    <message>
        <location filename="../wave/AnalyseCommand.cpp" line="54"/>
        <source>无法读取波形文件 %1: %2</source>
        <translation>Cannot read waveform file %1: %2</translation>
    </message>
    <message>
        <location filename="../wave/AnalyseCommand.cpp" line="62"/>
        <source>波形文件名中没有采样率 (…采样率&lt;Hz&gt;Hz.txt): %1</source>
        <translation>No sample rate in the waveform file name (…采样率&lt;Hz&gt;Hz.txt): %1</translation>
    </message>
    <message>
        <location filename="../wave/AnalyseCommand.cpp" line="86"/>
        <source>无法写入频谱文件 %1: %2</source>
        <translation>Cannot write spectrum file %1: %2</translation>
    </message>
</context>
<context>
    <name>Conninfo</name>
    <message>
        <location filename="../store/Conninfo.cpp" line="73"/>
        <source>(无法解析的连接字符串)</source>
        <translation>(unparsable connection string)</translation>
    </message>
    <message>
        <location filename="../store/Conninfo.cpp" line="136"/>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
</context>
<context>
    <name>LocalRecordSource</name>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="62"/>
        <source>本地数据库 %1: %2%3</source>
        <translation>Local database %1: %2%3</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="86"/>
        <source>无法打开</source>
        <translation>cannot open</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="89"/>
        <location filename="../store/LocalRecordSource.cpp" line="96"/>
        <source>无法读取</source>
        <translation>cannot read</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="101"/>
        <source>无法建立位置表</source>
        <translation>cannot create the position table</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="107"/>
        <location filename="../store/LocalRecordSource.cpp" line="185"/>
        <source>表 data 的列不符</source>
        <translation>the columns of table data do not match</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="143"/>
        <location filename="../store/LocalRecordSource.cpp" line="154"/>
        <source>无法读取位置</source>
        <translation>cannot read the position</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="167"/>
        <location filename="../store/LocalRecordSource.cpp" line="173"/>
        <source>无法保存位置</source>
        <translation>cannot save the position</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="203"/>
        <source>读取记录失败</source>
        <translation>reading rows failed</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="223"/>
        <source>读取传感器配置历史失败</source>
        <translation>reading the history of the sensor selection failed</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="241"/>
        <source>计数失败</source>
        <translation>counting failed</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="301"/>
        <source>报警表 alarm 的列不符</source>
        <translation>the columns of alarm table alarm do not match</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="345"/>
        <source>读取报警记录失败</source>
        <translation>reading alarm events failed</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="360"/>
        <source>确认记录表 alarm_ack 的列不符</source>
        <translation>the columns of acknowledgement table alarm_ack do not match</translation>
    </message>
    <message>
        <location filename="../store/LocalRecordSource.cpp" line="386"/>
        <source>读取确认记录失败</source>
        <translation>reading acknowledgements failed</translation>
    </message>
</context>
<context>
    <name>PgSession</name>
    <message>
        <location filename="../store/PgSession.cpp" line="29"/>
        <source>服务器 %1 秒内未完成连接，已放弃</source>
        <translation>Server did not complete the connection within %1 s; given up</translation>
    </message>
    <message>
        <location filename="../store/PgSession.cpp" line="71"/>
        <source>停止时服务器仍未应答，已断开</source>
        <translation>Server still not answering at the stop; disconnected</translation>
    </message>
    <message>
        <location filename="../store/PgSession.cpp" line="74"/>
        <source>无法等待服务器应答</source>
        <translation>Cannot wait for the server to answer</translation>
    </message>
    <message>
        <location filename="../store/PgSession.cpp" line="81"/>
        <source>服务器 %1 秒无应答，已断开</source>
        <translation>No answer from the server for %1 s; disconnected</translation>
    </message>
</context>
<context>
    <name>ServerProbe</name>
    <message>
        <location filename="../store/ServerProbe.cpp" line="20"/>
        <source>无法读取站点名的持有者: %1</source>
        <translation>Cannot read who holds the station name: %1</translation>
    </message>
    <message>
        <location filename="../store/ServerProbe.cpp" line="22"/>
        <source>站点名 %1 尚未登记，首次发送时登记</source>
        <translation>Station name %1 not registered yet; registered at the first send</translation>
    </message>
    <message>
        <location filename="../store/ServerProbe.cpp" line="26"/>
        <source>站点名 %1 已由本数据文件夹登记</source>
        <translation>Station name %1 is registered by this data folder</translation>
    </message>
    <message>
        <location filename="../store/ServerProbe.cpp" line="36"/>
        <source>未填写连接字符串</source>
        <translation>No connection string given</translation>
    </message>
    <message>
        <location filename="../store/ServerProbe.cpp" line="39"/>
        <source>连接失败: %1</source>
        <translation>Connection failed: %1</translation>
    </message>
    <message>
        <location filename="../store/ServerProbe.cpp" line="45"/>
        <source>服务器拒绝查询: %1</source>
        <translation>Server refused the query: %1</translation>
    </message>
    <message>
        <location filename="../store/ServerProbe.cpp" line="47"/>
        <source>连接成功: PostgreSQL %1，数据库 %2，用户 %3（%4）</source>
        <translation>Connected: PostgreSQL %1, database %2, user %3 (%4)</translation>
    </message>
</context>
<context>
    <name>ServerSchema</name>
    <message>
        <location filename="../store/ServerSchema.cpp" line="78"/>
        <source>无法为服务器表 %1 添加列: %2</source>
        <translation>Cannot add columns to server table %1: %2</translation>
    </message>
    <message>
        <location filename="../store/ServerSchema.cpp" line="85"/>
        <source>服务器上没有表 %1，本站的登录无权建立，需由管理员建立: %2</source>
        <translation>The server has no table %1 and this station&apos;s login may not create it; an administrator must: %2</translation>
    </message>
    <message>
        <location filename="../store/ServerSchema.cpp" line="89"/>
        <source>无法在服务器上建立表 %1: %2</source>
        <translation>Cannot create table %1 on the server: %2</translation>
    </message>
    <message>
        <location filename="../store/ServerSchema.cpp" line="102"/>
        <source>无法读取服务器的表: %1</source>
        <translation>Cannot read the server&apos;s tables: %1</translation>
    </message>
    <message>
        <location filename="../store/ServerSchema.cpp" line="112"/>
        <source>无法读取服务器表 %1 的列: %2</source>
        <translation>Cannot read the columns of server table %1: %2</translation>
    </message>
    <message>
        <location filename="../store/ServerSchema.cpp" line="133"/>
        <source>%1 为 %2，应为 %3</source>
        <translation>%1 is %2, should be %3</translation>
    </message>
    <message>
        <location filename="../store/ServerSchema.cpp" line="137"/>
        <source>服务器上已有的表 %1 不是本站建立的，缺少列: %2；不向其写入</source>
        <translation>Server table %1 was not made by this station, missing columns: %2; not written to</translation>
    </message>
    <message>
        <location filename="../store/ServerSchema.cpp" line="141"/>
        <source>服务器上已有的表 %1 不是本站建立的，列类型不符: %2；不向其写入</source>
        <translation>Server table %1 was not made by this station, other column types: %2; not written to</translation>
    </message>
    <message>
        <location filename="../store/ServerSchema.cpp" line="157"/>
        <source>无法读取服务器表 %1 的键: %2</source>
        <translation>Cannot read the keys of server table %1: %2</translation>
    </message>
    <message>
        <location filename="../store/ServerSchema.cpp" line="160"/>
        <source>服务器上已有的表 %1 不是本站建立的，缺少唯一键 %2；不向其写入</source>
        <translation>Server table %1 was not made by this station, no unique key %2; not written to</translation>
    </message>
</context>
<context>
    <name>StationRegistry</name>
    <message>
        <location filename="../store/StationRegistry.cpp" line="50"/>
        <source>本地数据库 %1: %2%3</source>
        <translation>Local database %1: %2%3</translation>
    </message>
    <message>
        <location filename="../store/StationRegistry.cpp" line="57"/>
        <source>尚不存在</source>
        <translation>does not exist yet</translation>
    </message>
    <message>
        <location filename="../store/StationRegistry.cpp" line="61"/>
        <source>无法打开</source>
        <translation>cannot open</translation>
    </message>
    <message>
        <location filename="../store/StationRegistry.cpp" line="70"/>
        <source>无法建立数据文件夹标识</source>
        <translation>cannot create the data folder&apos;s identity</translation>
    </message>
    <message>
        <location filename="../store/StationRegistry.cpp" line="78"/>
        <source>无法读取数据文件夹标识</source>
        <translation>cannot read the data folder&apos;s identity</translation>
    </message>
    <message>
        <location filename="../store/StationRegistry.cpp" line="101"/>
        <source>无法登记站点名: %1</source>
        <translation>Cannot register the station name: %1</translation>
    </message>
    <message>
        <location filename="../store/StationRegistry.cpp" line="107"/>
        <source>无法读取站点名的持有者: %1</source>
        <translation>Cannot read who holds the station name: %1</translation>
    </message>
    <message>
        <location filename="../store/StationRegistry.cpp" line="113"/>
        <source>（若本文件夹的 DataRecord.db 换过，可由管理员删除服务器表 stations 中站点名 %1 的一行）</source>
        <translation> (if this folder&apos;s DataRecord.db was replaced, an administrator may delete the row of station name %1 in server table stations)</translation>
    </message>
    <message>
        <location filename="../store/StationRegistry.cpp" line="147"/>
        <source>站点名 %1 已被 主机 %2 上的数据文件夹 %3（标识 %4）使用；本站的数据只记录在本地，请改用其他站点名</source>
        <translation>Station name %1 is used by data folder %3 on host %2 (identity %4); this station&apos;s data stay local only, choose another station name</translation>
    </message>
    <message>
        <location filename="../store/StationRegistry.cpp" line="166"/>
        <source>无法写入传感器名称: %1</source>
        <translation>Cannot write the sensor names: %1</translation>
    </message>
</context>
<context>
    <name>StationUpkeep</name>
    <message>
        <location filename="../store/StationUpkeep.cpp" line="79"/>
        <source>站点名未登记: %1</source>
        <translation>Station name not registered: %1</translation>
    </message>
    <message>
        <location filename="../store/StationUpkeep.cpp" line="80"/>
        <source>传感器名称未发送: %1</source>
        <translation>Sensor names not sent: %1</translation>
    </message>
    <message>
        <location filename="../store/StationUpkeep.cpp" line="81"/>
        <source>报警事件未发送: %1</source>
        <translation>Alarm events not sent: %1</translation>
    </message>
    <message>
        <location filename="../store/StationUpkeep.cpp" line="83"/>
        <source>；</source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>StoreForwarder</name>
    <message>
        <location filename="../store/StoreForwarder.cpp" line="315"/>
        <source>服务器拒绝写入: %1</source>
        <translation>Server refused the rows: %1</translation>
    </message>
</context>
<context>
    <name>StoreStatusText</name>
    <message>
        <location filename="../store/StoreStatusText.cpp" line="12"/>
        <source> · 待发送 %1 行</source>
        <translation> · %1 to send</translation>
    </message>
    <message>
        <location filename="../store/StoreStatusText.cpp" line="15"/>
        <source> · 冲突 %1 行</source>
        <translation> · %1 conflicts</translation>
    </message>
    <message>
        <location filename="../store/StoreStatusText.cpp" line="17"/>
        <source> · 部分未发送</source>
        <translation> · some unsent</translation>
    </message>
    <message>
        <location filename="../store/StoreStatusText.cpp" line="30"/>
        <source>服务器: 未配置</source>
        <translation>Server: not set up</translation>
    </message>
    <message>
        <location filename="../store/StoreStatusText.cpp" line="32"/>
        <source>服务器: 连接中</source>
        <translation>Server: connecting</translation>
    </message>
    <message>
        <location filename="../store/StoreStatusText.cpp" line="35"/>
        <source>服务器: 已连接</source>
        <translation>Server: connected</translation>
    </message>
    <message>
        <location filename="../store/StoreStatusText.cpp" line="38"/>
        <source>服务器: 重试中</source>
        <translation>Server: retrying</translation>
    </message>
</context>
<context>
    <name>TableAccess</name>
    <message>
        <location filename="../store/TableAccess.cpp" line="37"/>
        <source>表 %1: %2</source>
        <translation>Table %1: %2</translation>
    </message>
    <message>
        <location filename="../store/TableAccess.cpp" line="50"/>
        <location filename="../store/TableAccess.cpp" line="64"/>
        <source>无法读取权限: %1</source>
        <translation>cannot read the rights: %1</translation>
    </message>
    <message>
        <location filename="../store/TableAccess.cpp" line="53"/>
        <source>尚不存在，首次发送时自动建立</source>
        <translation>does not exist yet; made at the first send</translation>
    </message>
    <message>
        <location filename="../store/TableAccess.cpp" line="56"/>
        <source>尚不存在，本站的登录无权建立，需由管理员建立</source>
        <translation>does not exist yet; this station&apos;s login may not create it, an administrator must</translation>
    </message>
    <message>
        <location filename="../store/TableAccess.cpp" line="67"/>
        <source>本站的登录缺少权限 %1</source>
        <translation>this station&apos;s login lacks the rights %1</translation>
    </message>
    <message>
        <location filename="../store/TableAccess.cpp" line="68"/>
        <source>可以写入</source>
        <translation>writable</translation>
    </message>
</context>
<context>
    <name>WaveAnalyser</name>
    <message>
        <location filename="../wave/WaveAnalyser.cpp" line="34"/>
        <source>采样率无效: %1</source>
        <translation>Invalid sample rate: %1</translation>
    </message>
    <message>
        <location filename="../wave/WaveAnalyser.cpp" line="40"/>
        <source>波形点数太少: %1</source>
        <translation>Too few waveform samples: %1</translation>
    </message>
    <message>
        <location filename="../wave/WaveAnalyser.cpp" line="44"/>
        <source>分段长度必须是不小于8的2的幂: %1</source>
        <translation>The segment length must be a power of 2 of at least 8: %1</translation>
    </message>
    <message>
        <location filename="../wave/WaveAnalyser.cpp" line="48"/>
        <source>分段长度 %1 超过波形点数 %2</source>
        <translation>Segment length %1 exceeds the %2 waveform samples</translation>
    </message>
    <message>
        <location filename="../wave/WaveAnalyser.cpp" line="245"/>
        <location filename="../wave/WaveAnalyser.cpp" line="322"/>
        <source>内存不足，无法计算频谱</source>
        <translation>Out of memory; cannot compute the spectrum</translation>
    </message>
    <message>
        <location filename="../wave/WaveAnalyser.cpp" line="262"/>
        <source>包络带通范围无效: %1 到 %2 Hz</source>
        <translation>Invalid envelope band: %1 to %2 Hz</translation>
    </message>
    <message>
        <location filename="../wave/WaveAnalyser.cpp" line="293"/>
        <source>内存不足，无法计算包络谱</source>
        <translation>Out of memory; cannot compute the envelope spectrum</translation>
    </message>
</context>
<context>
    <name>WaveCapture</name>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="147"/>
        <source>未结束</source>
        <translation>not ended</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="149"/>
        <source>采集完成</source>
        <translation>capture complete</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="151"/>
        <source>连接传感器失败</source>
        <translation>connecting to the sensor failed</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="153"/>
        <source>发送采集命令失败</source>
        <translation>sending the capture command failed</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="155"/>
        <source>接收数据出错</source>
        <translation>receive error</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="157"/>
        <source>传感器停止发送数据</source>
        <translation>the sensor stopped sending</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="159"/>
        <source>采集被中止</source>
        <translation>capture stopped</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="161"/>
        <source>传感器在数据包中途关闭了连接</source>
        <translation>the sensor closed the connection inside a packet</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="163"/>
        <source>超过采集时长传感器仍在发送，已停止接收</source>
        <translation>the sensor kept sending past the capture time; receiving stopped</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="189"/>
        <source>传感器提前关闭了连接</source>
        <translation>the sensor closed the connection early</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="194"/>
        <source>波形采集失败：%1，未采集到数据</source>
        <translation>Waveform capture failed: %1; no data captured</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="201"/>
        <source>波形采集失败：%1，未收到完整的数据包（应为 %2 点）</source>
        <translation>Waveform capture failed: %1; no complete packet received (%2 samples expected)</translation>
    </message>
    <message>
        <location filename="../wave/WaveCapture.cpp" line="204"/>
        <source>波形采集提前结束：%1，已采集 %2 点，应为 %3 点</source>
        <translation>Waveform capture ended early: %1; %2 samples captured, %3 expected</translation>
    </message>
</context>
<context>
    <name>WaveCaptureCommand</name>
    <message>
        <location filename="../wave/WaveCaptureCommand.cpp" line="44"/>
        <source>采集时长必须在%1到%2秒之间: %3</source>
        <translation>The capture time must be %1 to %2 s: %3</translation>
    </message>
    <message>
        <location filename="../wave/WaveCaptureCommand.cpp" line="52"/>
        <source>传感器地址无效: 0.0.0.0</source>
        <translation>Invalid sensor address: 0.0.0.0</translation>
    </message>
    <message>
        <location filename="../wave/WaveCaptureCommand.cpp" line="69"/>
        <source>缓冲区已满，丢弃 %1 点</source>
        <translation>Buffer full; %1 samples dropped</translation>
    </message>
    <message>
        <location filename="../wave/WaveCaptureCommand.cpp" line="74"/>
        <source>丢弃不完整数据包的 %1 字节</source>
        <translation>%1 bytes of an incomplete packet discarded</translation>
    </message>
    <message>
        <location filename="../wave/WaveCaptureCommand.cpp" line="86"/>
        <source>波形文件</source>
        <translation>waveform file</translation>
    </message>
    <message>
        <location filename="../wave/WaveCaptureCommand.cpp" line="96"/>
        <source>无法生成%1: %2 (%3)</source>
        <translation>Cannot make the %1: %2 (%3)</translation>
    </message>
    <message>
        <location filename="../wave/WaveCaptureCommand.cpp" line="103"/>
        <source>无法写入%1 %2: %3</source>
        <translation>Cannot write %1 %2: %3</translation>
    </message>
</context>
<context>
    <name>WaveFile</name>
    <message>
        <location filename="../wave/WaveFile.cpp" line="86"/>
        <source>波形文件第 %1 行不是三个数值: %2</source>
        <translation>Waveform file line %1 is not three numbers: %2</translation>
    </message>
    <message>
        <location filename="../wave/WaveFile.cpp" line="98"/>
        <source>波形文件中没有数据</source>
        <translation>No data in the waveform file</translation>
    </message>
</context>
<context>
    <name>orsan::ServerSettingsDlg</name>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="73"/>
        <source>Config.ini 的连接字符串中含有密码，这里不显示；保存后 Config.ini 不再保存它，请把密码放在 ~/.pgpass、PGPASSFILE 或 PGPASSWORD 中。</source>
        <translation>The connection string in Config.ini holds a password: it is not shown here, and once saved Config.ini no longer keeps it. Put the password in ~/.pgpass, PGPASSFILE or PGPASSWORD.</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="89"/>
        <source>数据服务器设置</source>
        <translation>Data Server Settings</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="91"/>
        <source>host=服务器 port=5432 dbname=plant user=station sslmode=prefer</source>
        <translation>host=server port=5432 dbname=plant user=station sslmode=prefer</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="92"/>
        <source>连接字符串:</source>
        <translation>Connection string:</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="93"/>
        <source>本站名称:</source>
        <translation>Station name:</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="95"/>
        <source>密码不要写在连接字符串中：请放在 ~/.pgpass、PGPASSFILE 或 PGPASSWORD 中。连接字符串留空则不向服务器发送。</source>
        <translation>Keep passwords out of the connection string: put them in ~/.pgpass, PGPASSFILE or PGPASSWORD. An empty connection string sends nothing to a server.</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="97"/>
        <source>测试连接</source>
        <translation>Test Connection</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="98"/>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="99"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="123"/>
        <source>正在连接 %1 …</source>
        <translation>Connecting to %1 …</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="145"/>
        <source>连接字符串中含有密码，未保存：Config.ini 不保存密码，请把密码放在 ~/.pgpass、PGPASSFILE 或 PGPASSWORD 中。</source>
        <translation>The connection string holds a password; not saved: Config.ini keeps no passwords. Put the password in ~/.pgpass, PGPASSFILE or PGPASSWORD.</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="154"/>
        <source>连接字符串无法解析，未保存: %1</source>
        <translation>The connection string cannot be parsed; not saved: %1</translation>
    </message>
    <message>
        <location filename="../store/ServerSettingsDlg.cpp" line="158"/>
        <source>无法写入 %1</source>
        <translation>Cannot write %1</translation>
    </message>
</context>
<context>
    <name>orsan::ServerStatusButton</name>
    <message>
        <location filename="../store/ServerStatusButton.cpp" line="25"/>
        <source>数据服务器设置</source>
        <translation>Data server settings</translation>
    </message>
    <message>
        <location filename="../store/ServerStatusButton.cpp" line="27"/>
        <source>
服务器: %1</source>
        <translation>
Server: %1</translation>
    </message>
    <message>
        <location filename="../store/ServerStatusButton.cpp" line="29"/>
        <source>
最近错误: %1</source>
        <translation>
Last error: %1</translation>
    </message>
</context>
<context>
    <name>orsan::SpectrumPage</name>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="28"/>
        <source>速度频谱</source>
        <translation>Velocity</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="30"/>
        <source>包络频谱</source>
        <translation>Envelope</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="34"/>
        <source>加速度频谱</source>
        <translation>Acceleration</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="38"/>
        <source>没有可导出的频谱</source>
        <translation>No spectrum to export</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="82"/>
        <source>线性幅值</source>
        <translation>Linear</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="83"/>
        <source>对数幅值</source>
        <translation>Log</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="84"/>
        <source>谐波光标</source>
        <translation>Harmonics</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="85"/>
        <source>在光标所在谱线的1至10倍处标记</source>
        <translation>Marks 1 to 10 times the frequency of the line under the cursor</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="86"/>
        <source>导出图片</source>
        <translation>Export PNG</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="87"/>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="92"/>
        <location filename="../wave/SpectrumPage.cpp" line="142"/>
        <source>采集波形后显示频谱</source>
        <translation>Capture a waveform to see its spectrum</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="153"/>
        <source>采样率 %1 Hz 过低，无法计算 %2 Hz 以上的包络谱</source>
        <translation>Sample rate %1 Hz is too low for an envelope spectrum above %2 Hz</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="162"/>
        <source>  带通 %1–%2 Hz</source>
        <translation>  band-pass %1–%2 Hz</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="177"/>
        <source>（传感器 %1）</source>
        <translation> (sensor %1)</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="182"/>
        <source>速度有效值 10–1000 Hz：%1%2
加速度有效值 %3  峰值 %4  峰值因数 %5  峭度 %6</source>
        <translation>Velocity RMS 10–1000 Hz: %1%2
Acc. RMS %3  Peak %4  Crest factor %5  Kurtosis %6</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="208"/>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write file %1: %2</translation>
    </message>
    <message>
        <location filename="../wave/SpectrumPage.cpp" line="216"/>
        <source>频谱导出失败
%1</source>
        <translation>Spectrum export failed
%1</translation>
    </message>
</context>
<context>
    <name>orsan::WavDaqDlg</name>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="105"/>
        <source>读取传感器 { %1.%2.%3.%4 } 波形</source>
        <translation>Waveform of Sensor { %1.%2.%3.%4 }</translation>
    </message>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="110"/>
        <source>选择采集时长:</source>
        <translation>Capture time:</translation>
    </message>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="111"/>
        <source>开始采集</source>
        <translation>Start</translation>
    </message>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="112"/>
        <source>采集状态:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="113"/>
        <source>导出数据</source>
        <translation>Export</translation>
    </message>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="114"/>
        <source>时间戳:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="115"/>
        <source>已采集:</source>
        <translation>Count:</translation>
    </message>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="116"/>
        <source>点，采样率</source>
        <translation>pts, rate</translation>
    </message>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="117"/>
        <source>频谱分析</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="132"/>
        <source>%1时%2分%3秒</source>
        <translation>%1:%2:%3</translation>
    </message>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="161"/>
        <source>无法分析波形：%1</source>
        <translation>Cannot analyse the waveform: %1</translation>
    </message>
    <message>
        <location filename="../wave/WavDaqDlg.cpp" line="233"/>
        <source>波形数据导出失败，无法写入文件:
%1
原因: %2</source>
        <translation>Waveform export failed; cannot write the file:
%1
Reason: %2</translation>
    </message>
</context>
</TS>
