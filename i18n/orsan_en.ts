<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AlarmForwarding</name>
    <message>
        <source>服务器拒绝写入报警: %1</source>
        <translation>Server refused the alarm events: %1</translation>
    </message>
    <message>
        <source>服务器拒绝写入报警确认: %1</source>
        <translation>Server refused the alarm acknowledgements: %1</translation>
    </message>
</context>
<context>
    <name>AlarmMonitor</name>
    <message>
        <source>报警记录暂存于内存（%1 条事件、%2 次确认未写入），磁盘空间恢复后自动写入：%3</source>
        <translation>Alarm records are held in memory (%1 events, %2 acknowledgements not written) and are written once disk space returns: %3</translation>
    </message>
    <message>
        <source>暂存的 %1 条报警事件已写入数据库。</source>
        <translation>The %1 held alarm events have been written to the database.</translation>
    </message>
    <message>
        <source>报警记录未能写入数据库：%1 条报警事件和 %2 次确认随程序停止而丢失；下次启动时无法恢复这些报警的状态。</source>
        <translation>Alarm records could not be written to the database: %1 alarm events and %2 acknowledgements are lost with this stop; their alarm states cannot be restored at the next start.</translation>
    </message>
</context>
<context>
    <name>AlarmSettings</name>
    <message>
        <source>%1=%2 无效：%3</source>
        <translation>%1=%2 refused: %3</translation>
    </message>
    <message>
        <source>须为不小于0的数</source>
        <translation>must be a number of 0 or more</translation>
    </message>
    <message>
        <source>须为大于0的数</source>
        <translation>must be a number above 0</translation>
    </message>
    <message>
        <source>须为三个以逗号分隔的数 A/B,B/C,C/D，已按机器类别分区</source>
        <translation>must be three numbers A/B,B/C,C/D separated by commas; zones of the machine class used</translation>
    </message>
    <message>
        <source>分区边界须大于0且严格递增，已按机器类别分区</source>
        <translation>zone boundaries must be above 0 and rising; zones of the machine class used</translation>
    </message>
    <message>
        <source>%1 无效：停机值 %2 mm/s 须大于报警值 %3 mm/s，已按分区边界报警 %4 mm/s、停机 %5 mm/s</source>
        <translation>%1 refused: trip %2 mm/s must be above alarm %3 mm/s; zone boundaries used: alarm %4 mm/s, trip %5 mm/s</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>须为 1R、1F、2R 或 2F，已按 2R 处理</source>
        <translation>must be 1R, 1F, 2R or 2F; 2R used</translation>
    </message>
    <message>
        <source>延时最长86400秒（一天）</source>
        <translation>the delay is at most 86400 s (one day)</translation>
    </message>
    <message>
        <source>Alarm.ini [%1] 无效：节名须为 ID1 至 ID6，该节未读取</source>
        <translation>Alarm.ini [%1] refused: sections are ID1 to ID6; this section was not read</translation>
    </message>
    <message>
        <source>Alarm.ini [%1] 重复：同名的节只应有一个，各键以最先出现的为准</source>
        <translation>Alarm.ini [%1] repeated: a section may appear once; each key is taken from its first appearance</translation>
    </message>
    <message>
        <source>%1=%2、%3=%4 无效：温度停机值须大于温度报警值，已不作温度报警</source>
        <translation>%1=%2, %3=%4 refused: the temperature trip must be above the temperature alarm; no temperature alarm</translation>
    </message>
    <message>
        <source>操作员</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>须为 0 或 1，提示音保持开启</source>
        <translation>must be 0 or 1; the alarm tone stays on</translation>
    </message>
    <message>
        <source>%1 未读取：文件为 UTF-16 编码或含二进制内容（NUL 字节），报警设置全部按默认值；请以 UTF-8 保存</source>
        <translation>%1 not read: the file is UTF-16 or holds binary content (NUL bytes); all alarm settings take their defaults. Save it as UTF-8</translation>
    </message>
</context>
<context>
    <name>AlarmStore</name>
    <message>
        <source>打开</source>
        <translation>open</translation>
    </message>
    <message>
        <source>读取报警表</source>
        <translation>read the alarm table</translation>
    </message>
    <message>
        <source>创建报警表</source>
        <translation>create the alarm table</translation>
    </message>
    <message>
        <source>创建报警表索引</source>
        <translation>create the alarm table index</translation>
    </message>
    <message>
        <source>报警表 alarm 的列不符（现有列: %1）</source>
        <translation>The columns of the alarm table do not match (found: %1)</translation>
    </message>
    <message>
        <source>升级报警表</source>
        <translation>upgrade the alarm table</translation>
    </message>
    <message>
        <source>创建确认记录表</source>
        <translation>create the acknowledgement table</translation>
    </message>
    <message>
        <source>报警记录%1失败（%2）：%3</source>
        <translation>Alarm record: could not %1 (%2): %3</translation>
    </message>
    <message>
        <source>报警记录无法保存：数据库未打开</source>
        <translation>Alarms cannot be saved: the database is not open</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>save</translation>
    </message>
    <message>
        <source>报警记录无法读取：数据库未打开</source>
        <translation>Alarms cannot be read: the database is not open</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>read</translation>
    </message>
    <message>
        <source>报警记录无法确认：数据库未打开</source>
        <translation>Alarms cannot be acknowledged: the database is not open</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>acknowledge</translation>
    </message>
</context>
<context>
    <name>AnalyseCommand</name>
    <message>
        <source>频谱文件</source>
        <translation>spectrum file</translation>
    </message>
    <message>
        <source>无法读取波形文件 %1: %2</source>
        <translation>Cannot read waveform file %1: %2</translation>
    </message>
    <message>
        <source>波形文件名中没有采样率 (…采样率&lt;Hz&gt;Hz.txt): %1</source>
        <translation>No sample rate in the waveform file name (…采样率&lt;Hz&gt;Hz.txt): %1</translation>
    </message>
    <message>
        <source>无法写入频谱文件 %1: %2</source>
        <translation>Cannot write spectrum file %1: %2</translation>
    </message>
    <message>
        <source>波形文件名中的时间无效: %1</source>
        <translation>Waveform file name holds no valid time of day: %1</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>--report 需要一个日期 YYYY-MM-DD（例如 2024-05-01），而不是“%1”</source>
        <translation>--report needs a date YYYY-MM-DD (e.g. 2024-05-01), not &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>Conninfo</name>
    <message>
        <source>(无法解析的连接字符串)</source>
        <translation>(unparsable connection string)</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
</context>
<context>
    <name>DailyReportPdf</name>
    <message>
        <source>设备运行日报  %1</source>
        <translation>Daily machine report  %1</translation>
    </message>
    <message>
        <source>全部设备一览</source>
        <translation>All machines</translation>
    </message>
    <message>
        <source>统计时段 %1 至 %2；只计有效读数。生成时间 %3</source>
        <translation>Period %1 to %2; fresh readings only. Made %3</translation>
    </message>
    <message>
        <source>Config.ini 中没有配置传感器。</source>
        <translation>No sensors are configured in Config.ini.</translation>
    </message>
    <message>
        <source>速度 mm/s（最大轴）</source>
        <translation>Velocity mm/s (largest axis)</translation>
    </message>
    <message>
        <source>温度 ℃</source>
        <translation>Temperature ℃</translation>
    </message>
    <message>
        <source>各区时间（时:分）</source>
        <translation>Time per zone (h:mm)</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Machine</translation>
    </message>
    <message>
        <source>最小</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarms</translation>
    </message>
    <message>
        <source>分区界限 A/B %1  B/C %2  C/D %3 mm/s；记录 %4 行，其中有效读数 %5 行</source>
        <translation>Zone limits A/B %1  B/C %2  C/D %3 mm/s; %4 rows recorded, %5 fresh</translation>
    </message>
    <message>
        <source>温度 T_Shell (℃)</source>
        <translation>Temperature T_Shell (℃)</translation>
    </message>
    <message>
        <source>最大轴速度 (mm/s)</source>
        <translation>Largest axis velocity (mm/s)</translation>
    </message>
    <message>
        <source>量</source>
        <translation>Quantity</translation>
    </message>
    <message>
        <source>区</source>
        <translation>Zone</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>占比</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>当天报警事件（%1 条）</source>
        <translation>Alarm events of the day (%1)</translation>
    </message>
    <message>
        <source>未确认</source>
        <translation>Not acknowledged</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>轴</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>分区</source>
        <translation>Zone</translation>
    </message>
    <message>
        <source>确认人</source>
        <translation>Ack. by</translation>
    </message>
    <message>
        <source>确认时间</source>
        <translation>Ack. time</translation>
    </message>
    <message>
        <source>当天没有报警事件。</source>
        <translation>No alarm events on this day.</translation>
    </message>
    <message>
        <source>（续）</source>
        <translation>(continued)</translation>
    </message>
    <message>
        <source>无法写入日报 %1：%2</source>
        <translation>Cannot write the daily report %1: %2</translation>
    </message>
    <message>
        <source>设备运行日报 %1</source>
        <translation>Daily machine report %1</translation>
    </message>
    <message>
        <source>PDF 无法开始绘制</source>
        <translation>the PDF cannot start drawing</translation>
    </message>
    <message>
        <source>PDF 无法完成</source>
        <translation>the PDF cannot be finished</translation>
    </message>
    <message>
        <source>无有效数据</source>
        <translation>No fresh data</translation>
    </message>
    <message>
        <source>未记录</source>
        <translation>Unrecorded</translation>
    </message>
    <message>
        <source>%1
其中 %2 未记录</source>
        <translation>%1
%2 unrecorded</translation>
    </message>
    <message>
        <source>各区时间：从一个有效读数到下一个的时间计入前者的区（ISO 20816-3，按三轴中最大的速度分区）。两行记录相隔超过记录间隔中位数的 3 倍（至少 2 秒）时，其间为“未记录”；有记录而两个有效读数相隔超过同一界限的时间为“无有效数据”。报警：当天的 ALARM 与 TRIP 事件数，及其中发生在未记录时段的数目。</source>
        <translation>Time per zone: the time from one fresh reading to the next counts for the zone of the first (ISO 20816-3, zoned by the largest of the three axis velocities). Two rows more than 3 times the median row interval apart (at least 2 s): the time between them is &quot;Unrecorded&quot;; recorded time with two fresh readings further apart than the same limit is &quot;No fresh data&quot;. Alarms: the day&apos;s ALARM and TRIP events, and how many of them came while nothing was recorded.</translation>
    </message>
    <message>
        <source>%1：%2 个事件发生在未记录的时段，当天的统计与各区时间中没有这些时段的读数。</source>
        <translation>%1: %2 event(s) while nothing was recorded; the day&apos;s statistics and zone times hold no readings of that time.</translation>
    </message>
    <message>
        <source>已记录 %1（当天的 %2），未记录 %3，无有效数据 %4</source>
        <translation>Recorded %1 (%2 of the day), unrecorded %3, no fresh data %4</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>%1 个事件发生在未记录的时段（见事件表的“记录”列），当天的统计与各区时间中没有这些时段的读数。</source>
        <translation>%1 event(s) while nothing was recorded (see the events&apos; &quot;Record&quot; column); the day&apos;s statistics and zone times hold no readings of that time.</translation>
    </message>
</context>
<context>
    <name>DailyReportReader</name>
    <message>
        <source>无法打开记录数据库 %1：%2</source>
        <translation>Cannot open the record database %1: %2</translation>
    </message>
    <message>
        <source>无法读取报警记录：%1</source>
        <translation>Cannot read the alarm events: %1</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>无法创建数据文件夹 %1</source>
        <translation>Cannot create the data folder %1</translation>
    </message>
    <message>
        <source>找不到可用的数据文件夹</source>
        <translation>No usable data folder found</translation>
    </message>
</context>
<context>
    <name>DesktopShell</name>
    <message>
        <source>已导出，但无法自动打开，文件位于:
</source>
        <translation>Exported, but the file could not be opened. It is at:
</translation>
    </message>
    <message>
        <source>没有可导出的数据。</source>
        <translation>No data to export.</translation>
    </message>
</context>
<context>
    <name>Headless</name>
    <message>
        <source>数据文件夹%1：Config.ini 中没有配置任何传感器地址</source>
        <translation>data folder %1: Config.ini configures no sensor address</translation>
    </message>
    <message>
        <source>数据文件夹%1中没有 Config.ini：没有配置任何传感器</source>
        <translation>data folder %1 holds no Config.ini: no sensor is configured</translation>
    </message>
    <message>
        <source>数据文件夹%1无法写入：报警事件只在标准输出列出，不保存</source>
        <translation>data folder %1 cannot be written: alarm events go to standard output only and are not stored</translation>
    </message>
</context>
<context>
    <name>HistoryChart</name>
    <message>
        <source>全部机器%1历史趋势曲线</source>
        <translation>%1 of all machines, history</translation>
    </message>
    <message>
        <source>每小时汇总：带为最低至最高，线为平均</source>
        <translation>Hourly summary: band from lowest to highest, line the mean</translation>
    </message>
    <message>
        <source>每日汇总：带为最低至最高，线为平均</source>
        <translation>Daily summary: band from lowest to highest, line the mean</translation>
    </message>
    <message>
        <source>原始记录</source>
        <translation>Recorded rows</translation>
    </message>
</context>
<context>
    <name>HistoryRowReader</name>
    <message>
        <source>曲线选择无效（传感器应为 1 到 6，最多 10 条曲线）</source>
        <translation>Invalid curve choice (sensors 1 to 6, at most 10 curves)</translation>
    </message>
    <message>
        <source>读取记录数据失败：</source>
        <translation>Reading the record failed: </translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>Config.ini [UI] LANG=%1 无效：应为 zh_CN 或 en，本次使用中文。</source>
        <translation>Config.ini [UI] LANG=%1 refused: use zh_CN or en. Chinese is used this time.</translation>
    </message>
    <message>
        <source>无法加载英文翻译 %1，本次使用中文。</source>
        <translation>Cannot load the English translation %1. Chinese is used this time.</translation>
    </message>
</context>
<context>
    <name>LocalRecordSource</name>
    <message>
        <source>本地数据库 %1: %2%3</source>
        <translation>Local database %1: %2%3</translation>
    </message>
    <message>
        <source>无法打开</source>
        <translation>cannot open</translation>
    </message>
    <message>
        <source>无法读取</source>
        <translation>cannot read</translation>
    </message>
    <message>
        <source>无法建立位置表</source>
        <translation>cannot create the position table</translation>
    </message>
    <message>
        <source>表 data 的列不符</source>
        <translation>the columns of table data do not match</translation>
    </message>
    <message>
        <source>无法读取位置</source>
        <translation>cannot read the position</translation>
    </message>
    <message>
        <source>无法保存位置</source>
        <translation>cannot save the position</translation>
    </message>
    <message>
        <source>读取记录失败</source>
        <translation>reading rows failed</translation>
    </message>
    <message>
        <source>读取传感器配置历史失败</source>
        <translation>reading the history of the sensor selection failed</translation>
    </message>
    <message>
        <source>计数失败</source>
        <translation>counting failed</translation>
    </message>
    <message>
        <source>报警表 alarm 的列不符</source>
        <translation>the columns of alarm table alarm do not match</translation>
    </message>
    <message>
        <source>读取报警记录失败</source>
        <translation>reading alarm events failed</translation>
    </message>
    <message>
        <source>确认记录表 alarm_ack 的列不符</source>
        <translation>the columns of acknowledgement table alarm_ack do not match</translation>
    </message>
    <message>
        <source>读取确认记录失败</source>
        <translation>reading acknowledgements failed</translation>
    </message>
</context>
<context>
    <name>OrsanSensorMonitor</name>
    <message>
        <source>数据文件夹 %1 无法写入（%2），本次只监视和报警，不记录数据。</source>
        <translation>The data folder %1 cannot be written (%2). This run monitors and alarms but records nothing.</translation>
    </message>
    <message>
        <source>程序已经在运行中,请勿重复打开!</source>
        <translation>The program is already running. Do not open it twice!</translation>
    </message>
</context>
<context>
    <name>OwnFiles</name>
    <message>
        <source>不能写入%1：这是本站数据文件夹中自己的文件</source>
        <translation>cannot write %1: it is one of the station&apos;s own files in its data folder</translation>
    </message>
</context>
<context>
    <name>PgSession</name>
    <message>
        <source>服务器 %1 秒内未完成连接，已放弃</source>
        <translation>Server did not complete the connection within %1 s; given up</translation>
    </message>
    <message>
        <source>停止时服务器仍未应答，已断开</source>
        <translation>Server still not answering at the stop; disconnected</translation>
    </message>
    <message>
        <source>无法等待服务器应答</source>
        <translation>Cannot wait for the server to answer</translation>
    </message>
    <message>
        <source>服务器 %1 秒无应答，已断开</source>
        <translation>No answer from the server for %1 s; disconnected</translation>
    </message>
</context>
<context>
    <name>ProcessLock</name>
    <message>
        <source>没有写入权限</source>
        <translation>no write permission</translation>
    </message>
    <message>
        <source>文件系统只读</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>磁盘空间不足</source>
        <translation>disk full</translation>
    </message>
    <message>
        <source>该位置已有同名文件夹</source>
        <translation>a folder of that name is in the way</translation>
    </message>
    <message>
        <source>文件夹不存在</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>系统错误%1（%2）</source>
        <translation>system error %1 (%2)</translation>
    </message>
    <message>
        <source>无法创建锁文件%1：%2</source>
        <translation>Cannot create the lock file %1: %2</translation>
    </message>
    <message>
        <source>（进程%1）</source>
        <translation> (process %1)</translation>
    </message>
    <message>
        <source>数据文件夹%1正由另一个记录程序%2使用，同一数据文件夹只能有一个记录程序!</source>
        <translation>The data folder %1 is used by another recorder%2. One data folder takes one recorder only!</translation>
    </message>
    <message>
        <source>锁文件是符号链接，拒绝使用</source>
        <translation>the lock file is a symbolic link and is refused</translation>
    </message>
</context>
<context>
    <name>RecordSummaries</name>
    <message>
        <source>没有传感器%1的第%2项数据</source>
        <translation>Sensor %1 has no quantity %2</translation>
    </message>
    <message>
        <source>读取汇总数据失败：</source>
        <translation>Reading the summaries failed: </translation>
    </message>
</context>
<context>
    <name>ReportCommand</name>
    <message>
        <source>%1 这一天还没有开始，无法生成日报</source>
        <translation>%1 has not begun yet; no daily report for it</translation>
    </message>
</context>
<context>
    <name>SensorDataFile</name>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
</context>
<context>
    <name>SensorLinks</name>
    <message>
        <source>应答时限须为 %1 到 %2 之间的整数毫秒，已用 %3 毫秒</source>
        <translation>the answer time limit must be a whole number of milliseconds from %1 to %2; %3 ms is used</translation>
    </message>
    <message>
        <source>单元号须为 %1 到 %2 之间的整数或 255，已用 %3</source>
        <translation>the unit id must be a whole number from %1 to %2, or 255; %3 is used</translation>
    </message>
</context>
<context>
    <name>SensorNames</name>
    <message>
        <source>传感器【%1】</source>
        <translation>Sensor %1</translation>
    </message>
    <message>
        <source>传感器%1</source>
        <translation>Sensor %1</translation>
    </message>
</context>
<context>
    <name>ServerProbe</name>
    <message>
        <source>无法读取站点名的持有者: %1</source>
        <translation>Cannot read who holds the station name: %1</translation>
    </message>
    <message>
        <source>站点名 %1 尚未登记，首次发送时登记</source>
        <translation>Station name %1 not registered yet; registered at the first send</translation>
    </message>
    <message>
        <source>站点名 %1 已由本数据文件夹登记</source>
        <translation>Station name %1 is registered by this data folder</translation>
    </message>
    <message>
        <source>未填写连接字符串</source>
        <translation>No connection string given</translation>
    </message>
    <message>
        <source>连接失败: %1</source>
        <translation>Connection failed: %1</translation>
    </message>
    <message>
        <source>服务器拒绝查询: %1</source>
        <translation>Server refused the query: %1</translation>
    </message>
    <message>
        <source>连接成功: PostgreSQL %1，数据库 %2，用户 %3（%4）</source>
        <translation>Connected: PostgreSQL %1, database %2, user %3 (%4)</translation>
    </message>
</context>
<context>
    <name>ServerSchema</name>
    <message>
        <source>无法为服务器表 %1 添加列: %2</source>
        <translation>Cannot add columns to server table %1: %2</translation>
    </message>
    <message>
        <source>服务器上没有表 %1，本站的登录无权建立，需由管理员建立: %2</source>
        <translation>The server has no table %1 and this station&apos;s login may not create it; an administrator must: %2</translation>
    </message>
    <message>
        <source>无法在服务器上建立表 %1: %2</source>
        <translation>Cannot create table %1 on the server: %2</translation>
    </message>
    <message>
        <source>无法读取服务器的表: %1</source>
        <translation>Cannot read the server&apos;s tables: %1</translation>
    </message>
    <message>
        <source>无法读取服务器表 %1 的列: %2</source>
        <translation>Cannot read the columns of server table %1: %2</translation>
    </message>
    <message>
        <source>%1 为 %2，应为 %3</source>
        <translation>%1 is %2, should be %3</translation>
    </message>
    <message>
        <source>服务器上已有的表 %1 不是本站建立的，缺少列: %2；不向其写入</source>
        <translation>Server table %1 was not made by this station, missing columns: %2; not written to</translation>
    </message>
    <message>
        <source>服务器上已有的表 %1 不是本站建立的，列类型不符: %2；不向其写入</source>
        <translation>Server table %1 was not made by this station, other column types: %2; not written to</translation>
    </message>
    <message>
        <source>无法读取服务器表 %1 的键: %2</source>
        <translation>Cannot read the keys of server table %1: %2</translation>
    </message>
    <message>
        <source>服务器上已有的表 %1 不是本站建立的，缺少唯一键 %2；不向其写入</source>
        <translation>Server table %1 was not made by this station, no unique key %2; not written to</translation>
    </message>
</context>
<context>
    <name>ServerSummaryViews</name>
    <message>
        <source>无法读取服务器的视图 %1: %2</source>
        <translation>Cannot read the server&apos;s view %1: %2</translation>
    </message>
    <message>
        <source>服务器上没有视图 %1，本站的登录无权建立，需由管理员建立: %2</source>
        <translation>The server has no view %1 and this station&apos;s login may not create it; an administrator must: %2</translation>
    </message>
    <message>
        <source>无法在服务器上建立视图 %1: %2</source>
        <translation>Cannot create the view %1 on the server: %2</translation>
    </message>
</context>
<context>
    <name>StationConfig</name>
    <message>
        <source>Config.ini [DAQ] KEEP_DAYS=%1 无效：应为 0 到 %2 的整数天数（0 为保留全部）。本次不删除任何记录。</source>
        <translation>Config.ini [DAQ] KEEP_DAYS=%1 refused: use a whole number of days from 0 to %2 (0 keeps everything). No rows are deleted this time.</translation>
    </message>
    <message>
        <source>网络版三轴振动温度智能传感器【ModbusTcp接口，端口502】 V1.8</source>
        <translation>Networked Tri-Axis Vibration and Temperature Sensors [Modbus TCP, port 502] V1.8</translation>
    </message>
    <message>
        <source>%1 第%2行无效：长于 %3 字节，该行未读取</source>
        <translation>%1 line %2 refused: longer than %3 bytes; the line is not read</translation>
    </message>
    <message>
        <source>%1 第%2行无效：不是 UTF-8 文字，该行未读取</source>
        <translation>%1 line %2 refused: not UTF-8 text; the line is not read</translation>
    </message>
    <message>
        <source>%1 [%2] 无效：未知的节（第%3行），该节未读取</source>
        <translation>%1 [%2] refused: unknown section (line %3); the section is not read</translation>
    </message>
    <message>
        <source>%1 %2 无效：不在任何节内（第%3行），未读取</source>
        <translation>%1 %2 refused: outside any section (line %3); not read</translation>
    </message>
    <message>
        <source>%1 [%2] %3 无效：未知的键（第%4行），未读取</source>
        <translation>%1 [%2] %3 refused: unknown key (line %4); not read</translation>
    </message>
    <message>
        <source>Config.ini [%1] %2=%3 无效：%4</source>
        <translation>Config.ini [%1] %2=%3 refused: %4</translation>
    </message>
    <message>
        <source>应为 0 到 255 的整数，传感器%1未配置（0.0.0.0）</source>
        <translation>use a whole number from 0 to 255; sensor %1 stays unconfigured (0.0.0.0)</translation>
    </message>
    <message>
        <source>应为 1 到 65535 的整数，按默认端口 502</source>
        <translation>use a whole number from 1 to 65535; the default port 502 is used</translation>
    </message>
    <message>
        <source>应为 %1 到 %2 的秒数，按默认 %1 秒</source>
        <translation>use seconds from %1 to %2; the default %1 s is used</translation>
    </message>
    <message>
        <source>应为 0 或 1，按 0（不续记录）</source>
        <translation>use 0 or 1; 0 is used (recording is not resumed)</translation>
    </message>
</context>
<context>
    <name>StationRegistry</name>
    <message>
        <source>本地数据库 %1: %2%3</source>
        <translation>Local database %1: %2%3</translation>
    </message>
    <message>
        <source>尚不存在</source>
        <translation>does not exist yet</translation>
    </message>
    <message>
        <source>无法打开</source>
        <translation>cannot open</translation>
    </message>
    <message>
        <source>无法建立数据文件夹标识</source>
        <translation>cannot create the data folder&apos;s identity</translation>
    </message>
    <message>
        <source>无法读取数据文件夹标识</source>
        <translation>cannot read the data folder&apos;s identity</translation>
    </message>
    <message>
        <source>无法登记站点名: %1</source>
        <translation>Cannot register the station name: %1</translation>
    </message>
    <message>
        <source>无法读取站点名的持有者: %1</source>
        <translation>Cannot read who holds the station name: %1</translation>
    </message>
    <message>
        <source>（若本文件夹的 DataRecord.db 换过，可由管理员删除服务器表 stations 中站点名 %1 的一行）</source>
        <translation> (if this folder&apos;s DataRecord.db was replaced, an administrator may delete the row of station name %1 in server table stations)</translation>
    </message>
    <message>
        <source>站点名 %1 已被 主机 %2 上的数据文件夹 %3（标识 %4）使用；本站的数据只记录在本地，请改用其他站点名</source>
        <translation>Station name %1 is used by data folder %3 on host %2 (identity %4); this station&apos;s data stay local only, choose another station name</translation>
    </message>
    <message>
        <source>无法写入传感器名称: %1</source>
        <translation>Cannot write the sensor names: %1</translation>
    </message>
</context>
<context>
    <name>StationUpkeep</name>
    <message>
        <source>站点名未登记: %1</source>
        <translation>Station name not registered: %1</translation>
    </message>
    <message>
        <source>传感器名称未发送: %1</source>
        <translation>Sensor names not sent: %1</translation>
    </message>
    <message>
        <source>报警事件未发送: %1</source>
        <translation>Alarm events not sent: %1</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>汇总视图未建立: %1</source>
        <translation>Summary views not made: %1</translation>
    </message>
</context>
<context>
    <name>StoreForwarder</name>
    <message>
        <source>服务器拒绝写入: %1</source>
        <translation>Server refused the rows: %1</translation>
    </message>
</context>
<context>
    <name>StoreStatusText</name>
    <message>
        <source> · 待发送 %1 行</source>
        <translation> · %1 to send</translation>
    </message>
    <message>
        <source> · 冲突 %1 行</source>
        <translation> · %1 conflicts</translation>
    </message>
    <message>
        <source> · 部分未发送</source>
        <translation> · some unsent</translation>
    </message>
    <message>
        <source>服务器: 未配置</source>
        <translation>Server: not set up</translation>
    </message>
    <message>
        <source>服务器: 连接中</source>
        <translation>Server: connecting</translation>
    </message>
    <message>
        <source>服务器: 已连接</source>
        <translation>Server: connected</translation>
    </message>
    <message>
        <source>服务器: 重试中</source>
        <translation>Server: retrying</translation>
    </message>
    <message>
        <source>服务器: 由记录程序发送</source>
        <translation>Server: sent by recorder</translation>
    </message>
    <message>
        <source>服务器: %1 条读数与服务器上同一站点、时间和传感器的已有记录不同，已保存在表 readings_conflicts 中</source>
        <translation>server: %1 readings differ from rows the server already holds under the same station, time and sensor; kept in table readings_conflicts</translation>
    </message>
</context>
<context>
    <name>TableAccess</name>
    <message>
        <source>表 %1: %2</source>
        <translation>Table %1: %2</translation>
    </message>
    <message>
        <source>无法读取权限: %1</source>
        <translation>cannot read the rights: %1</translation>
    </message>
    <message>
        <source>尚不存在，首次发送时自动建立</source>
        <translation>does not exist yet; made at the first send</translation>
    </message>
    <message>
        <source>尚不存在，本站的登录无权建立，需由管理员建立</source>
        <translation>does not exist yet; this station&apos;s login may not create it, an administrator must</translation>
    </message>
    <message>
        <source>本站的登录缺少权限 %1</source>
        <translation>this station&apos;s login lacks the rights %1</translation>
    </message>
    <message>
        <source>可以写入</source>
        <translation>writable</translation>
    </message>
</context>
<context>
    <name>WaveAnalyser</name>
    <message>
        <source>采样率无效: %1</source>
        <translation>Invalid sample rate: %1</translation>
    </message>
    <message>
        <source>波形点数太少: %1</source>
        <translation>Too few waveform samples: %1</translation>
    </message>
    <message>
        <source>分段长度必须是不小于8的2的幂: %1</source>
        <translation>The segment length must be a power of 2 of at least 8: %1</translation>
    </message>
    <message>
        <source>分段长度 %1 超过波形点数 %2</source>
        <translation>Segment length %1 exceeds the %2 waveform samples</translation>
    </message>
    <message>
        <source>内存不足，无法计算频谱</source>
        <translation>Out of memory; cannot compute the spectrum</translation>
    </message>
    <message>
        <source>包络带通范围无效: %1 到 %2 Hz</source>
        <translation>Invalid envelope band: %1 to %2 Hz</translation>
    </message>
    <message>
        <source>内存不足，无法计算包络谱</source>
        <translation>Out of memory; cannot compute the envelope spectrum</translation>
    </message>
</context>
<context>
    <name>WaveCapture</name>
    <message>
        <source>未结束</source>
        <translation>not ended</translation>
    </message>
    <message>
        <source>采集完成</source>
        <translation>capture complete</translation>
    </message>
    <message>
        <source>连接传感器失败</source>
        <translation>connecting to the sensor failed</translation>
    </message>
    <message>
        <source>发送采集命令失败</source>
        <translation>sending the capture command failed</translation>
    </message>
    <message>
        <source>接收数据出错</source>
        <translation>receive error</translation>
    </message>
    <message>
        <source>传感器停止发送数据</source>
        <translation>the sensor stopped sending</translation>
    </message>
    <message>
        <source>采集被中止</source>
        <translation>capture stopped</translation>
    </message>
    <message>
        <source>传感器在数据包中途关闭了连接</source>
        <translation>the sensor closed the connection inside a packet</translation>
    </message>
    <message>
        <source>超过采集时长传感器仍在发送，已停止接收</source>
        <translation>the sensor kept sending past the capture time; receiving stopped</translation>
    </message>
    <message>
        <source>传感器提前关闭了连接</source>
        <translation>the sensor closed the connection early</translation>
    </message>
    <message>
        <source>波形采集失败：%1，未采集到数据</source>
        <translation>Waveform capture failed: %1; no data captured</translation>
    </message>
    <message>
        <source>波形采集失败：%1，未收到完整的数据包（应为 %2 点）</source>
        <translation>Waveform capture failed: %1; no complete packet received (%2 samples expected)</translation>
    </message>
    <message>
        <source>波形采集提前结束：%1，已采集 %2 点，应为 %3 点</source>
        <translation>Waveform capture ended early: %1; %2 samples captured, %3 expected</translation>
    </message>
</context>
<context>
    <name>WaveCaptureCommand</name>
    <message>
        <source>采集时长必须在%1到%2秒之间: %3</source>
        <translation>The capture time must be %1 to %2 s: %3</translation>
    </message>
    <message>
        <source>传感器地址无效: 0.0.0.0</source>
        <translation>Invalid sensor address: 0.0.0.0</translation>
    </message>
    <message>
        <source>缓冲区已满，丢弃 %1 点</source>
        <translation>Buffer full; %1 samples dropped</translation>
    </message>
    <message>
        <source>丢弃不完整数据包的 %1 字节</source>
        <translation>%1 bytes of an incomplete packet discarded</translation>
    </message>
    <message>
        <source>波形文件</source>
        <translation>waveform file</translation>
    </message>
    <message>
        <source>无法生成%1: %2 (%3)</source>
        <translation>Cannot make the %1: %2 (%3)</translation>
    </message>
    <message>
        <source>无法写入%1 %2: %3</source>
        <translation>Cannot write %1 %2: %3</translation>
    </message>
</context>
<context>
    <name>WaveFile</name>
    <message>
        <source>波形文件第 %1 行不是三个数值: %2</source>
        <translation>Waveform file line %1 is not three numbers: %2</translation>
    </message>
    <message>
        <source>波形文件中没有数据</source>
        <translation>No data in the waveform file</translation>
    </message>
    <message>
        <source>波形文件第 %1 行的数值超出范围: %2</source>
        <translation>Waveform file line %1 holds a number out of range: %2</translation>
    </message>
</context>
<context>
    <name>ZoneLook</name>
    <message>
        <source>ALARM 报警</source>
        <translation>ALARM</translation>
    </message>
    <message>
        <source>TRIP 停机</source>
        <translation>TRIP</translation>
    </message>
    <message>
        <source>CLEAR 恢复</source>
        <translation>CLEAR</translation>
    </message>
    <message>
        <source>LOST 通信中断</source>
        <translation>LOST</translation>
    </message>
    <message>
        <source>RESTORED 通信恢复</source>
        <translation>RESTORED</translation>
    </message>
    <message>
        <source>%1区</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>TRIP 已恢复 未确认</source>
        <translation>TRIP returned, unack.</translation>
    </message>
    <message>
        <source>LOST 已恢复 未确认</source>
        <translation>LOST returned, unack.</translation>
    </message>
    <message>
        <source>ALARM 已恢复 未确认</source>
        <translation>ALARM returned, unack.</translation>
    </message>
</context>
<context>
    <name>orsan::AlarmLogDlg</name>
    <message>
        <source>已确认</source>
        <translation>Acknowledged</translation>
    </message>
    <message>
        <source>报警中 已确认</source>
        <translation>Active, acknowledged</translation>
    </message>
    <message>
        <source>报警中 未确认</source>
        <translation>Active, unacknowledged</translation>
    </message>
    <message>
        <source>已恢复 未确认</source>
        <translation>Returned, unacknowledged</translation>
    </message>
    <message>
        <source>确认选中</source>
        <translation>Acknowledge</translation>
    </message>
    <message>
        <source>全部确认</source>
        <translation>Ack. all</translation>
    </message>
    <message>
        <source>静音</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>报警声静音，直到下一个新报警</source>
        <translation>Silence the alarm tone until the next new alarm</translation>
    </message>
    <message>
        <source>报警设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>全部传感器的机器类别、分区与报警值</source>
        <translation>Machine class, zones and alarm limits of every sensor</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>导出报警记录为CSV文件</source>
        <translation>Export the alarms to a CSV file</translation>
    </message>
    <message>
        <source>确认报警时记录的确认人</source>
        <translation>Recorded as the person who acknowledges</translation>
    </message>
    <message>
        <source>确认人:</source>
        <translation>By:</translation>
    </message>
    <message>
        <source>报警记录无法保存: </source>
        <translation>Alarms cannot be saved: </translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>传感器</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>轴</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>数值(mm/s)</source>
        <translation>Value (mm/s)</translation>
    </message>
    <message>
        <source>分区</source>
        <translation>Zone</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>确认人</source>
        <translation>Ack. by</translation>
    </message>
    <message>
        <source>确认时间</source>
        <translation>Ack. time</translation>
    </message>
    <message>
        <source>%1 ℃</source>
        <translation>%1 °C</translation>
    </message>
</context>
<context>
    <name>orsan::AlarmSettingsDlg</name>
    <message>
        <source>1: 大型机器 300kW-50MW；2: 中型机器 15-300kW；R: 刚性支承；F: 柔性支承</source>
        <translation>1: large machine 300 kW-50 MW; 2: medium machine 15-300 kW; R: rigid support; F: flexible support</translation>
    </message>
    <message>
        <source>按类别，如 1.4,2.8,4.5</source>
        <translation>by class, e.g. 1.4,2.8,4.5</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>按规则</source>
        <translation>by rule</translation>
    </message>
    <message>
        <source>C/D边界</source>
        <translation>C/D</translation>
    </message>
    <message>
        <source>机器类别:</source>
        <translation>Machine class:</translation>
    </message>
    <message>
        <source>分区边界 A/B,B/C,C/D (mm/s):</source>
        <translation>Zone boundaries A/B,B/C,C/D (mm/s):</translation>
    </message>
    <message>
        <source>基线 BASELINE (mm/s):</source>
        <translation>BASELINE (mm/s):</translation>
    </message>
    <message>
        <source>报警 ALARM (mm/s):</source>
        <translation>ALARM (mm/s):</translation>
    </message>
    <message>
        <source>停机 TRIP (mm/s):</source>
        <translation>TRIP (mm/s):</translation>
    </message>
    <message>
        <source>延时 DELAY (s):</source>
        <translation>DELAY (s):</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>传感器【%1】报警设置</source>
        <translation>Sensor %1 alarm settings</translation>
    </message>
    <message>
        <source>生效: 分区 %1 / %2 / %3 mm/s，报警 %4 mm/s，停机 %5 mm/s，延时 %6 s</source>
        <translation>In effect: zones %1 / %2 / %3 mm/s, alarm %4 mm/s, trip %5 mm/s, delay %6 s</translation>
    </message>
    <message>
        <source>温度报警 TEMP_ALARM (℃):</source>
        <translation>TEMP_ALARM (°C):</translation>
    </message>
    <message>
        <source>温度停机 TEMP_TRIP (℃):</source>
        <translation>TEMP_TRIP (°C):</translation>
    </message>
    <message>
        <source>%1 ℃</source>
        <translation>%1 °C</translation>
    </message>
    <message>
        <source>温度报警 %1，温度停机 %2</source>
        <translation>Temperature alarm %1, temperature trip %2</translation>
    </message>
    <message>
        <source>报警设置</source>
        <translation>alarm settings</translation>
    </message>
</context>
<context>
    <name>orsan::AlarmSettingsTableDlg</name>
    <message>
        <source>机器类别</source>
        <translation>Machine class</translation>
    </message>
    <message>
        <source>分区边界 A/B,B/C,C/D (mm/s)</source>
        <translation>Zones A/B,B/C,C/D (mm/s)</translation>
    </message>
    <message>
        <source>报警 ALARM (mm/s)</source>
        <translation>ALARM (mm/s)</translation>
    </message>
    <message>
        <source>停机 TRIP (mm/s)</source>
        <translation>TRIP (mm/s)</translation>
    </message>
    <message>
        <source>延时 DELAY (s)</source>
        <translation>DELAY (s)</translation>
    </message>
    <message>
        <source>1: 大型机器 300kW-50MW；2: 中型机器 15-300kW；R: 刚性支承；F: 柔性支承</source>
        <translation>1: large machine 300 kW-50 MW; 2: medium machine 15-300 kW; R: rigid support; F: flexible support</translation>
    </message>
    <message>
        <source>按类别</source>
        <translation>by class</translation>
    </message>
    <message>
        <source>按规则</source>
        <translation>by rule</translation>
    </message>
    <message>
        <source>C/D边界</source>
        <translation>C/D</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>空白为默认值；检查规则与 Alarm.ini 相同。</source>
        <translation>Empty means the default; checked as Alarm.ini is.</translation>
    </message>
    <message>
        <source>报警设置（全部传感器）</source>
        <translation>Alarm settings (all sensors)</translation>
    </message>
    <message>
        <source>温度报警 (℃)</source>
        <translation>TEMP_ALARM (°C)</translation>
    </message>
    <message>
        <source>温度停机 (℃)</source>
        <translation>TEMP_TRIP (°C)</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
</context>
<context>
    <name>orsan::ChartSettings</name>
    <message>
        <source>温度最小值（%1）必须小于温度最大值（%2）。</source>
        <translation>Temperature minimum (%1) must be below temperature maximum (%2).</translation>
    </message>
    <message>
        <source>加速度最大值</source>
        <translation>Acceleration maximum</translation>
    </message>
    <message>
        <source>速度最大值</source>
        <translation>Velocity maximum</translation>
    </message>
    <message>
        <source>位移最大值</source>
        <translation>Displacement maximum</translation>
    </message>
    <message>
        <source>%1（%2）必须大于坐标轴最小值 0。</source>
        <translation>%1 (%2) must be above the axis minimum 0.</translation>
    </message>
    <message>
        <source>%1 [%2] %3=%4 无效：%5</source>
        <translation>%1 [%2] %3=%4 refused: %5</translation>
    </message>
    <message>
        <source>应为一个数</source>
        <translation>use a number</translation>
    </message>
    <message>
        <source>应为 0 或 1</source>
        <translation>use 0 or 1</translation>
    </message>
</context>
<context>
    <name>orsan::DailyReportDlg</name>
    <message>
        <source>生成日报</source>
        <translation>Daily report</translation>
    </message>
    <message>
        <source>日期：</source>
        <translation>Date:</translation>
    </message>
    <message>
        <source>生成</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>保存日报</source>
        <translation>Save daily report</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
</context>
<context>
    <name>orsan::DailyReportSchedule</name>
    <message>
        <source>%1 的日报已写入 %2</source>
        <translation>Daily report of %1 written to %2</translation>
    </message>
    <message>
        <source>%1 的日报未生成：%2</source>
        <translation>Daily report of %1 not made: %2</translation>
    </message>
    <message>
        <source>日报文件夹 %1 无法创建，%2 的日报未生成</source>
        <translation>Cannot create the report folder %1; daily report of %2 not made</translation>
    </message>
</context>
<context>
    <name>orsan::DatabaseLogDlg</name>
    <message>
        <source>注意：因数据量大，表格里只显示最后记录的22条数据，之前记录的数据已存储在数据文件中，点击导出即可导出全部数据！，点击清空则会从新记录！</source>
        <translation>Note: the table shows only the last 22 rows; all rows are kept in the data file. Export writes them all; Clear starts a new record.</translation>
    </message>
    <message>
        <source>文件 %1 MB</source>
        <translation>File %1 MB</translation>
    </message>
    <message>
        <source>【长时记录】</source>
        <translation>[Recording]</translation>
    </message>
    <message>
        <source>开始记录</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止记录</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>记录时间从:</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>到:</source>
        <translation>to:</translation>
    </message>
    <message>
        <source>已记录数据：</source>
        <translation>Rows:</translation>
    </message>
    <message>
        <source>条</source>
        <translation>rows</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>清除数据，重新记录!</source>
        <translation>Delete all rows and start a new record</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>导出数据到文本文件中!</source>
        <translation>Export the data to a text file</translation>
    </message>
    <message>
        <source>已恢复上次的记录</source>
        <translation>Recording resumed as before</translation>
    </message>
    <message>
        <source>请确认是否清空所有已经记录的数据</source>
        <translation>Delete all recorded data?</translation>
    </message>
    <message>
        <source>导出数据失败，未生成文件。
</source>
        <translation>Export failed, no file written.
</translation>
    </message>
    <message>
        <source>小时和日汇总暂未更新，每记录%1条重试一次</source>
        <translation>Hourly and daily summaries are behind; tried again every %1 rows</translation>
    </message>
</context>
<context>
    <name>orsan::DiskSpaceGuard</name>
    <message>
        <source>磁盘空间不足：%1 所在磁盘只剩 %2 可用（需至少 %3），数据记录已暂停，已记录的数据完好。腾出空间后将自动继续记录。</source>
        <translation>Disk nearly full: the disk of %1 has only %2 free (at least %3 needed). Recording is paused; the recorded data are intact. Recording resumes by itself once space is freed.</translation>
    </message>
    <message>
        <source>磁盘空间已恢复（%1 可用），数据记录已自动继续。</source>
        <translation>Disk space is back (%1 free); recording has resumed.</translation>
    </message>
</context>
<context>
    <name>orsan::FrequencyPage</name>
    <message>
        <source>速度频谱</source>
        <translation>Velocity</translation>
    </message>
    <message>
        <source>包络频谱</source>
        <translation>Envelope</translation>
    </message>
    <message>
        <source>加速度频谱</source>
        <translation>Acceleration</translation>
    </message>
    <message>
        <source>没有可导出的频谱</source>
        <translation>No spectrum to export</translation>
    </message>
    <message>
        <source>线性幅值</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>对数幅值</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>谐波光标</source>
        <translation>Harmonics</translation>
    </message>
    <message>
        <source>在光标所在谱线的1至10倍处标记</source>
        <translation>Marks 1 to 10 times the frequency of the line under the cursor</translation>
    </message>
    <message>
        <source>导出图片</source>
        <translation>Export PNG</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>采集波形后显示频谱</source>
        <translation>Capture a waveform to see its spectrum</translation>
    </message>
    <message>
        <source>采样率 %1 Hz 过低，无法计算 %2 Hz 以上的包络谱</source>
        <translation>Sample rate %1 Hz is too low for an envelope spectrum above %2 Hz</translation>
    </message>
    <message>
        <source>  带通 %1–%2 Hz</source>
        <translation>  band-pass %1–%2 Hz</translation>
    </message>
    <message>
        <source>（传感器 %1）</source>
        <translation> (sensor %1)</translation>
    </message>
    <message>
        <source>速度有效值 10–1000 Hz：%1%2
加速度有效值 %3  峰值 %4  峰值因数 %5  峭度 %6</source>
        <translation>Velocity RMS 10–1000 Hz: %1%2
Acc. RMS %3  Peak %4  Crest factor %5  Kurtosis %6</translation>
    </message>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write file %1: %2</translation>
    </message>
    <message>
        <source>频谱导出失败
%1</source>
        <translation>Spectrum export failed
%1</translation>
    </message>
</context>
<context>
    <name>orsan::HistoryChart</name>
    <message>
        <source>三轴振动温度历史趋势曲线</source>
        <translation>History Trend of Tri-Axis Vibration &amp; Temperature</translation>
    </message>
    <message>
        <source>该时间段内没有记录数据</source>
        <translation>No rows recorded in this period</translation>
    </message>
</context>
<context>
    <name>orsan::HistoryChartDlg</name>
    <message>
        <source>返回上一级</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>回到放大之前的时间范围</source>
        <translation>Back to the period before the zoom</translation>
    </message>
    <message>
        <source>曲线选择</source>
        <translation>Curves</translation>
    </message>
    <message>
        <source>导出图片</source>
        <translation>Export picture</translation>
    </message>
    <message>
        <source>导出当前曲线为PNG图片!</source>
        <translation>Export the chart as a PNG picture</translation>
    </message>
    <message>
        <source>单击显示最近的记录，拖动选择时间段放大</source>
        <translation>Click to show the nearest row; drag across a period to zoom in</translation>
    </message>
    <message>
        <source>读取历史数据失败。
</source>
        <translation>Reading the history failed.
</translation>
    </message>
    <message>
        <source>历史趋势曲线 - 传感器%1</source>
        <translation>History trend - sensor %1</translation>
    </message>
    <message>
        <source>传感器%1  %2 至 %3  共 %4 条记录</source>
        <translation>Sensor %1  %2 to %3  %4 rows</translation>
    </message>
    <message>
        <source>显示</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>全部机器</source>
        <translation>All machines</translation>
    </message>
    <message>
        <source>一台机器的全部曲线，或全部机器的同一参数</source>
        <translation>All curves of one machine, or one quantity of every machine</translation>
    </message>
    <message>
        <source>全部机器时绘制的参数</source>
        <translation>The quantity drawn for all machines</translation>
    </message>
    <message>
        <source>历史趋势曲线 - 全部机器 %1</source>
        <translation>History trend - all machines %1</translation>
    </message>
    <message>
        <source>全部机器 %1  %2 至 %3  共 %4 条记录</source>
        <translation>All machines %1  %2 to %3  %4 rows</translation>
    </message>
</context>
<context>
    <name>orsan::LinkNotice</name>
    <message>
        <source>通信中断</source>
        <translation>Link lost</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>轮询已暂停</source>
        <translation>Polling paused</translation>
    </message>
    <message>
        <source>
尚无有效读数</source>
        <translation>
No valid reading yet</translation>
    </message>
    <message>
        <source>
最后有效读数 </source>
        <translation>
Last valid reading </translation>
    </message>
</context>
<context>
    <name>orsan::MachineTile</name>
    <message>
        <source>点击打开该传感器页面</source>
        <translation>Click to open this sensor&apos;s page</translation>
    </message>
    <message>
        <source>无报警</source>
        <translation>No alarm</translation>
    </message>
    <message>
        <source>传感器%1  %2</source>
        <translation>Sensor %1  %2</translation>
    </message>
    <message>
        <source>温度 %1 ℃</source>
        <translation>Temp. %1 ℃</translation>
    </message>
    <message>
        <source>通信正常</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>暂停轮询</source>
        <translation>Polling paused</translation>
    </message>
    <message>
        <source>通信中断</source>
        <translation>No link</translation>
    </message>
</context>
<context>
    <name>orsan::MessageDlg</name>
    <message>
        <source>消息提示</source>
        <translation>Message</translation>
    </message>
</context>
<context>
    <name>orsan::OrsanSensorMonitorDlg</name>
    <message>
        <source>传感器地址设置</source>
        <translation>Sensor addresses</translation>
    </message>
    <message>
        <source>%1#传感器IP:</source>
        <translation>Sensor %1 IP:</translation>
    </message>
    <message>
        <source>机器名称</source>
        <translation>Machine name</translation>
    </message>
    <message>
        <source>%1#传感器所在机器的名称，如 P-101</source>
        <translation>Name of the machine of sensor %1, e.g. P-101</translation>
    </message>
    <message>
        <source>配置传感器参数!</source>
        <translation>Sensor parameters</translation>
    </message>
    <message>
        <source>读取传感器波形!</source>
        <translation>Read the sensor&apos;s waveform</translation>
    </message>
    <message>
        <source>注意：请确保IP1-IP6无重复项存在，如不知道IP地址请填0.0.0.0！</source>
        <translation>Note: IP1-IP6 must all differ; enter 0.0.0.0 for an unknown address!</translation>
    </message>
    <message>
        <source>语言:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>设置传感器地址!</source>
        <translation>Save the sensor addresses</translation>
    </message>
    <message>
        <source>采集时间间隔设置</source>
        <translation>Record interval</translation>
    </message>
    <message>
        <source>趋势记录间隔:</source>
        <translation>Record every:</translation>
    </message>
    <message>
        <source>s/次</source>
        <translation>s</translation>
    </message>
    <message>
        <source>范围:1-1800s</source>
        <translation>Range: 1-1800 s</translation>
    </message>
    <message>
        <source>调整</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>设置通信与采集参数!</source>
        <translation>Apply the record interval</translation>
    </message>
    <message>
        <source>通信状态</source>
        <translation>Communication</translation>
    </message>
    <message>
        <source>ModbusTcp轮询状态：</source>
        <translation>Modbus TCP polling:</translation>
    </message>
    <message>
        <source>总览</source>
        <translation>Overview</translation>
    </message>
    <message>
        <source>长时数据记录</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>语言已切换，但无法写入配置文件%1，下次启动时将恢复原设置!</source>
        <translation>The language has changed, but the configuration file %1 cannot be written; the next start uses the previous setting!</translation>
    </message>
    <message>
        <source>正在记录数据，确定退出吗？</source>
        <translation>Data is being recorded. Quit anyway?</translation>
    </message>
    <message>
        <source>确定退出吗？</source>
        <translation>Quit?</translation>
    </message>
    <message>
        <source>还有%1条记录等待发送到服务器。</source>
        <translation>%1 rows are still waiting to be sent to the server.</translation>
    </message>
    <message>
        <source>传感器IP地址信息更新成功!</source>
        <translation>Sensor addresses saved!</translation>
    </message>
    <message>
        <source>传感器IP地址已生效，但无法写入配置文件%1，下次启动时将恢复原地址!</source>
        <translation>The sensor addresses are in effect, but the configuration file %1 cannot be written; the next start uses the previous addresses!</translation>
    </message>
    <message>
        <source>趋势记录只能设置在1-1800s内，请重新设置</source>
        <translation>The record interval must be 1-1800 s. Please enter it again.</translation>
    </message>
    <message>
        <source>修改成功，已立即生效!</source>
        <translation>Saved and in effect now!</translation>
    </message>
    <message>
        <source>记录间隔已生效，但无法写入配置文件%1，下次启动时将恢复原设置!</source>
        <translation>The record interval is in effect, but the configuration file %1 cannot be written; the next start uses the previous setting!</translation>
    </message>
</context>
<context>
    <name>orsan::OverviewPage</name>
    <message>
        <source>尚未设置传感器地址：请在上方填写传感器IP后点击“修改”。</source>
        <translation>No sensor addresses yet: enter the sensors&apos; IP addresses above and click &quot;Save&quot;.</translation>
    </message>
</context>
<context>
    <name>orsan::PannelDlg</name>
    <message>
        <source>【稳态结果】</source>
        <translation>[Values]</translation>
    </message>
    <message>
        <source>加速度：</source>
        <translation>Acc.:</translation>
    </message>
    <message>
        <source>速   度：</source>
        <translation>Vel.:</translation>
    </message>
    <message>
        <source>位   移：</source>
        <translation>Disp.:</translation>
    </message>
    <message>
        <source>温   度：</source>
        <translation>Temp.:</translation>
    </message>
    <message>
        <source>【测点示意图】</source>
        <translation>[Sensor point]</translation>
    </message>
    <message>
        <source>【Z轴频谱】</source>
        <translation>[Z orders]</translation>
    </message>
    <message>
        <source>0.5X转速处：</source>
        <translation>At 0.5X:</translation>
    </message>
    <message>
        <source>1.0X转速处：</source>
        <translation>At 1.0X:</translation>
    </message>
    <message>
        <source>1.5X转速处：</source>
        <translation>At 1.5X:</translation>
    </message>
    <message>
        <source>2.0X转速处：</source>
        <translation>At 2.0X:</translation>
    </message>
    <message>
        <source>3.0X转速处：</source>
        <translation>At 3.0X:</translation>
    </message>
    <message>
        <source>4.0X转速处：</source>
        <translation>At 4.0X:</translation>
    </message>
    <message>
        <source>5.0X转速处：</source>
        <translation>At 5.0X:</translation>
    </message>
    <message>
        <source>6.0X转速处：</source>
        <translation>At 6.0X:</translation>
    </message>
    <message>
        <source>最高阶次：</source>
        <translation>Top order:</translation>
    </message>
    <message>
        <source>阶</source>
        <translation>X</translation>
    </message>
    <message>
        <source>最高阶能量：</source>
        <translation>Top energy:</translation>
    </message>
    <message>
        <source>N当前转速：</source>
        <translation>Speed N:</translation>
    </message>
    <message>
        <source>设置范围</source>
        <translation>Axes</translation>
    </message>
    <message>
        <source>调整坐标轴范围!</source>
        <translation>Set the axis ranges</translation>
    </message>
    <message>
        <source>显示选择</source>
        <translation>Curves</translation>
    </message>
    <message>
        <source>设置曲线是否显示!</source>
        <translation>Choose the curves shown</translation>
    </message>
    <message>
        <source>清空曲线</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>清除缓存，重新绘制!</source>
        <translation>Clear the held samples and draw anew</translation>
    </message>
    <message>
        <source>导出曲线</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>导出当前曲线为PNG图片!</source>
        <translation>Export the chart as a PNG picture</translation>
    </message>
    <message>
        <source>导出数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>导出数据到文本文件中!</source>
        <translation>Export the data to a text file</translation>
    </message>
    <message>
        <source>振动烈度分区与机器类别，点击设置报警!</source>
        <translation>Vibration severity zone and machine class; click to set the alarms</translation>
    </message>
</context>
<context>
    <name>orsan::RecordDatabase</name>
    <message>
        <source>错误编号:0x</source>
        <translation>Error code:0x</translation>
    </message>
    <message>
        <source>
错误信息:</source>
        <translation>
Error message:</translation>
    </message>
    <message>
        <source>
错误源:</source>
        <translation>
Error source:</translation>
    </message>
    <message>
        <source>
错误描述:</source>
        <translation>
Error description:</translation>
    </message>
    <message>
        <source>Data  : 记录数据出错-&gt; </source>
        <translation>Data  : writing a row failed-&gt; </translation>
    </message>
    <message>
        <source>data: 获取数据出错-&gt; </source>
        <translation>data: reading rows failed-&gt; </translation>
    </message>
    <message>
        <source>data  : 删除数据出错-&gt; </source>
        <translation>data  : deleting rows failed-&gt; </translation>
    </message>
    <message>
        <source>data  : 查询数据出错-&gt; </source>
        <translation>data  : counting rows failed-&gt; </translation>
    </message>
    <message>
        <source>数据库文件不存在</source>
        <translation>The database file does not exist</translation>
    </message>
    <message>
        <source>DataRecord.db: 无法切换到 WAL 日志 (</source>
        <translation>DataRecord.db: cannot switch to the WAL journal (</translation>
    </message>
    <message>
        <source>)，文件可能只读</source>
        <translation>), the file may be read-only</translation>
    </message>
    <message>
        <source>数据库中没有记录表 data</source>
        <translation>The database has no record table data</translation>
    </message>
    <message>
        <source>其他表: </source>
        <translation>Other tables: </translation>
    </message>
    <message>
        <source>记录表 data 的列不符</source>
        <translation>The columns of record table data do not match</translation>
    </message>
    <message>
        <source>现有列: </source>
        <translation>Columns found: </translation>
    </message>
    <message>
        <source>数据库未打开</source>
        <translation>The database is not open</translation>
    </message>
    <message>
        <source>连接未打开或已关闭</source>
        <translation>The connection is not open or was closed</translation>
    </message>
    <message>
        <source>记录表 data 缺少列 Ok1…Ok6，且无法添加</source>
        <translation>Record table data lacks the columns Ok1…Ok6 and they cannot be added</translation>
    </message>
    <message>
        <source>数据库文件可能只读</source>
        <translation>The database file may be read-only</translation>
    </message>
    <message>
        <source>行数缺失</source>
        <translation>The row count is missing</translation>
    </message>
    <message>
        <source>数据库文件%1只能读取，无法写入，数据记录已停止!</source>
        <translation>The database file %1 is read-only; recording has stopped!</translation>
    </message>
    <message>
        <source>计数无结果</source>
        <translation>The count returned nothing</translation>
    </message>
    <message>
        <source>删除过期记录失败：</source>
        <translation>Deleting expired rows failed: </translation>
    </message>
    <message>
        <source>PRAGMA %1 无结果</source>
        <translation>PRAGMA %1 returned nothing</translation>
    </message>
    <message>
        <source>记录数据库未打开</source>
        <translation>The record database is not open</translation>
    </message>
    <message>
        <source>DataRecord.db: 小时和日汇总未能更新，落后于记录；每写入%1行重试一次</source>
        <translation>DataRecord.db: the hourly and daily summaries could not be updated and lag behind the rows; tried again every %1 rows</translation>
    </message>
    <message>
        <source>数据库文件已损坏</source>
        <translation>the database file is damaged</translation>
    </message>
    <message>
        <source>DataRecord.db: 磁盘已满，小时和日汇总暂未更新；已记录的数据完好，腾出空间后自动补上</source>
        <translation>DataRecord.db: disk full, the hourly and daily summaries are not updated yet; the recorded data are intact, and they catch up once space is freed</translation>
    </message>
</context>
<context>
    <name>orsan::RecordDatabaseShell</name>
    <message>
        <source>数据库服务器连接失败,请检查服务器是否已经打开并保持网络连接好....!</source>
        <translation>Cannot open the record database. Check that its folder can be written.</translation>
    </message>
</context>
<context>
    <name>orsan::RecordExport</name>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write file %1: %2</translation>
    </message>
    <message>
        <source>第 %1 行的毫秒值 %2 超出范围</source>
        <translation>Row %1: milliseconds %2 out of range</translation>
    </message>
    <message>
        <source>读取记录数据失败：</source>
        <translation>Reading the record failed: </translation>
    </message>
    <message>
        <source>传感器编号 %1 无效（应为 1 到 6）</source>
        <translation>Sensor number %1 is not valid (1 to 6)</translation>
    </message>
    <message>
        <source>记录数据库未打开</source>
        <translation>The record database is not open</translation>
    </message>
    <message>
        <source>第 %1 行的时间 %2 超出范围</source>
        <translation>Row %1: time %2 out of range</translation>
    </message>
</context>
<context>
    <name>orsan::RecordHistoryMode</name>
    <message>
        <source>该时间段内没有记录数据</source>
        <translation>No rows recorded in this period</translation>
    </message>
    <message>
        <source>从</source>
        <translation>From</translation>
    </message>
    <message>
        <source>到</source>
        <translation>to</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>曲线</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>画出一个传感器在该时间段内的趋势曲线</source>
        <translation>Plot one sensor&apos;s trend over this period</translation>
    </message>
    <message>
        <source>区间导出</source>
        <translation>Export range</translation>
    </message>
    <message>
        <source>导出一个传感器在该时间段内的数据</source>
        <translation>Export one sensor&apos;s rows of this period</translation>
    </message>
    <message>
        <source>首页</source>
        <translation>First</translation>
    </message>
    <message>
        <source>上页</source>
        <translation>Prev</translation>
    </message>
    <message>
        <source>下页</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>末页</source>
        <translation>Last</translation>
    </message>
    <message>
        <source>转到</source>
        <translation>Go to</translation>
    </message>
    <message>
        <source>导出格式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>按时间段查看、绘制和导出以前记录的数据</source>
        <translation>View, plot and export earlier rows by period</translation>
    </message>
    <message>
        <source>最近1小时</source>
        <translation>Last hour</translation>
    </message>
    <message>
        <source>最近24小时</source>
        <translation>Last 24 h</translation>
    </message>
    <message>
        <source>最近7天</source>
        <translation>Last 7 days</translation>
    </message>
    <message>
        <source>全部</source>
        <translation>All</translation>
    </message>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>返回最新记录</source>
        <translation>Back to newest rows</translation>
    </message>
    <message>
        <source>历史记录</source>
        <translation>History</translation>
    </message>
    <message>
        <source>开始时间晚于结束时间，请重新选择时间段。</source>
        <translation>The start is later than the end; choose the period again.</translation>
    </message>
    <message>
        <source>要转到的时间 %1 不在所选的时间段（%2 至 %3）内。</source>
        <translation>The time %1 is outside the chosen period (%2 to %3).</translation>
    </message>
    <message>
        <source>读取记录数据失败</source>
        <translation>Reading the record failed</translation>
    </message>
    <message>
        <source>第 %1/%2 页，共 %3 条</source>
        <translation>Page %1/%2, %3 rows</translation>
    </message>
    <message>
        <source>读取记录数据失败。
</source>
        <translation>Reading the record failed.
</translation>
    </message>
    <message>
        <source>选择要绘制曲线的传感器</source>
        <translation>Choose the sensor to plot</translation>
    </message>
    <message>
        <source>，未生成文件。</source>
        <translation>, no file written.</translation>
    </message>
    <message>
        <source>导出数据失败，未生成文件。
</source>
        <translation>Export failed, no file written.
</translation>
    </message>
    <message>
        <source>日报</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>生成一天的设备运行日报（PDF）</source>
        <translation>Make the daily machine report of one day (PDF)</translation>
    </message>
</context>
<context>
    <name>orsan::RecordPageText</name>
    <message>
        <source>T温度</source>
        <translation>T Temp</translation>
    </message>
    <message>
        <source>X加速度</source>
        <translation>X Acc</translation>
    </message>
    <message>
        <source>X速度</source>
        <translation>X Vel</translation>
    </message>
    <message>
        <source>X位移</source>
        <translation>X Disp</translation>
    </message>
    <message>
        <source>Y加速度</source>
        <translation>Y Acc</translation>
    </message>
    <message>
        <source>Y速度</source>
        <translation>Y Vel</translation>
    </message>
    <message>
        <source>Y位移</source>
        <translation>Y Disp</translation>
    </message>
    <message>
        <source>Z加速度</source>
        <translation>Z Acc</translation>
    </message>
    <message>
        <source>Z速度</source>
        <translation>Z Vel</translation>
    </message>
    <message>
        <source>Z位移</source>
        <translation>Z Disp</translation>
    </message>
    <message>
        <source>记录编号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>数据时间戳</source>
        <translation>Time stamp</translation>
    </message>
</context>
<context>
    <name>orsan::ServerSettingsDlg</name>
    <message>
        <source>Config.ini 的连接字符串中含有密码，这里不显示；保存后 Config.ini 不再保存它，请把密码放在 ~/.pgpass、PGPASSFILE 或 PGPASSWORD 中。</source>
        <translation>The connection string in Config.ini holds a password: it is not shown here, and once saved Config.ini no longer keeps it. Put the password in ~/.pgpass, PGPASSFILE or PGPASSWORD.</translation>
    </message>
    <message>
        <source>数据服务器设置</source>
        <translation>Data Server Settings</translation>
    </message>
    <message>
        <source>host=服务器 port=5432 dbname=plant user=station sslmode=prefer</source>
        <translation>host=server port=5432 dbname=plant user=station sslmode=prefer</translation>
    </message>
    <message>
        <source>连接字符串:</source>
        <translation>Connection string:</translation>
    </message>
    <message>
        <source>本站名称:</source>
        <translation>Station name:</translation>
    </message>
    <message>
        <source>密码不要写在连接字符串中：请放在 ~/.pgpass、PGPASSFILE 或 PGPASSWORD 中。连接字符串留空则不向服务器发送。</source>
        <translation>Keep passwords out of the connection string: put them in ~/.pgpass, PGPASSFILE or PGPASSWORD. An empty connection string sends nothing to a server.</translation>
    </message>
    <message>
        <source>测试连接</source>
        <translation>Test Connection</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>正在连接 %1 …</source>
        <translation>Connecting to %1 …</translation>
    </message>
    <message>
        <source>连接字符串中含有密码，未保存：Config.ini 不保存密码，请把密码放在 ~/.pgpass、PGPASSFILE 或 PGPASSWORD 中。</source>
        <translation>The connection string holds a password; not saved: Config.ini keeps no passwords. Put the password in ~/.pgpass, PGPASSFILE or PGPASSWORD.</translation>
    </message>
    <message>
        <source>连接字符串无法解析，未保存: %1</source>
        <translation>The connection string cannot be parsed; not saved: %1</translation>
    </message>
    <message>
        <source>无法写入 %1</source>
        <translation>Cannot write %1</translation>
    </message>
</context>
<context>
    <name>orsan::ServerStatusButton</name>
    <message>
        <source>数据服务器设置</source>
        <translation>Data server settings</translation>
    </message>
    <message>
        <source>
服务器: %1</source>
        <translation>
Server: %1</translation>
    </message>
    <message>
        <source>
最近错误: %1</source>
        <translation>
Last error: %1</translation>
    </message>
</context>
<context>
    <name>orsan::SetChartDlg</name>
    <message>
        <source>温度最小值</source>
        <translation>Temp. min</translation>
    </message>
    <message>
        <source>温度最大值</source>
        <translation>Temp. max</translation>
    </message>
    <message>
        <source>加速度最大值</source>
        <translation>Acc. max</translation>
    </message>
    <message>
        <source>速度最大值</source>
        <translation>Vel. max</translation>
    </message>
    <message>
        <source>位移最大值</source>
        <translation>Disp. max</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>设置曲线坐标轴系数</source>
        <translation>Chart axis limits</translation>
    </message>
    <message>
        <source>“%1”请输入一个数字。</source>
        <translation>&quot;%1&quot;: enter a number.</translation>
    </message>
</context>
<context>
    <name>orsan::SetExpDlg</name>
    <message>
        <source>导出指定传感器数据</source>
        <translation>Export one sensor&apos;s data</translation>
    </message>
    <message>
        <source>传感器【%1】</source>
        <translation>Sensor %1</translation>
    </message>
</context>
<context>
    <name>orsan::SetShowDlg</name>
    <message>
        <source>温度</source>
        <translation>Temp.</translation>
    </message>
    <message>
        <source>加速度X</source>
        <translation>Acc. X</translation>
    </message>
    <message>
        <source>加速度Y</source>
        <translation>Acc. Y</translation>
    </message>
    <message>
        <source>加速度Z</source>
        <translation>Acc. Z</translation>
    </message>
    <message>
        <source>速度X</source>
        <translation>Vel. X</translation>
    </message>
    <message>
        <source>速度Y</source>
        <translation>Vel. Y</translation>
    </message>
    <message>
        <source>速度Z</source>
        <translation>Vel. Z</translation>
    </message>
    <message>
        <source>位移X</source>
        <translation>Disp. X</translation>
    </message>
    <message>
        <source>位移Y</source>
        <translation>Disp. Y</translation>
    </message>
    <message>
        <source>位移Z</source>
        <translation>Disp. Z</translation>
    </message>
    <message>
        <source>显示曲线</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>曲线显示设置</source>
        <translation>Curves shown</translation>
    </message>
</context>
<context>
    <name>orsan::SettingParsDlg</name>
    <message>
        <source>“%1”超出范围，允许范围为 0 到 %2。未发送任何数据。</source>
        <translation>&quot;%1&quot; is out of range; allowed: 0 to %2. Nothing was sent.</translation>
    </message>
    <message>
        <source>请选择“%1”。未发送任何数据。</source>
        <translation>Choose &quot;%1&quot;. Nothing was sent.</translation>
    </message>
    <message>
        <source>“%1”（%2 Hz）高于“%3”（%4 Hz），请重新输入。未发送任何数据。</source>
        <translation>&quot;%1&quot; (%2 Hz) is above &quot;%3&quot; (%4 Hz); enter them again. Nothing was sent.</translation>
    </message>
    <message>
        <source>写入成功^_^</source>
        <translation>Written.</translation>
    </message>
    <message>
        <source>写入失败!_^</source>
        <translation>Write failed!</translation>
    </message>
    <message>
        <source>保存成功，断电重启后新的参数和IP将生效^_^</source>
        <translation>Saved. The new parameters and IP take effect after a power cycle.</translation>
    </message>
    <message>
        <source>保存失败!_^</source>
        <translation>Save failed!</translation>
    </message>
    <message>
        <source>振动速度带通滤波器带通频带下限</source>
        <translation>Velocity band-pass lower edge</translation>
    </message>
    <message>
        <source>振动速度带通滤波器带通频带上限</source>
        <translation>Velocity band-pass upper edge</translation>
    </message>
    <message>
        <source>加速度带通滤波器带通频带下限</source>
        <translation>Acceleration band-pass lower edge</translation>
    </message>
    <message>
        <source>加速度带通滤波器带通频带上限</source>
        <translation>Acceleration band-pass upper edge</translation>
    </message>
    <message>
        <source>振动位移带通滤波器带通频带下限</source>
        <translation>Displacement band-pass lower edge</translation>
    </message>
    <message>
        <source>振动位移带通滤波器带通频带上限</source>
        <translation>Displacement band-pass upper edge</translation>
    </message>
    <message>
        <source>内圈特征系数</source>
        <translation>Inner race factor</translation>
    </message>
    <message>
        <source>外圈特征系数</source>
        <translation>Outer race factor</translation>
    </message>
    <message>
        <source>滚动体特征系数</source>
        <translation>Rolling element factor</translation>
    </message>
    <message>
        <source>保持架特征系数</source>
        <translation>Cage factor</translation>
    </message>
    <message>
        <source>叶片类特征系数</source>
        <translation>Blade factor</translation>
    </message>
    <message>
        <source>传感器当前传动比系数</source>
        <translation>Transmission ratio</translation>
    </message>
    <message>
        <source>人工输入的配置转速值</source>
        <translation>Manual speed</translation>
    </message>
    <message>
        <source>额定参考转速</source>
        <translation>Rated speed</translation>
    </message>
    <message>
        <source>网关</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>子网掩码</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <source>传感器IP</source>
        <translation>Sensor IP</translation>
    </message>
    <message>
        <source>“%1”不是有效的数字，请重新输入。未发送任何数据。</source>
        <translation>&quot;%1&quot; is not a valid number; enter it again. Nothing was sent.</translation>
    </message>
    <message>
        <source>传感器内部转速信号源</source>
        <translation>Speed source</translation>
    </message>
    <message>
        <source>转速自动识别工况模式</source>
        <translation>Speed detection mode</translation>
    </message>
    <message>
        <source>写入</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>设置滤波器参数（写入完毕后立即生效）</source>
        <translation>Filters (effective at once)</translation>
    </message>
    <message>
        <source>地址：77....82</source>
        <translation>Reg. 77....82</translation>
    </message>
    <message>
        <source>振动速度带通滤波器带通频带范围：</source>
        <translation>Velocity band-pass:</translation>
    </message>
    <message>
        <source>加速度带通滤波器带通频带范围：</source>
        <translation>Acceleration band-pass:</translation>
    </message>
    <message>
        <source>振动位移带通滤波器带通频带范围：</source>
        <translation>Displacement band-pass:</translation>
    </message>
    <message>
        <source>设置部件特征参数（写入完毕后立即生效）</source>
        <translation>Component factors (effective at once)</translation>
    </message>
    <message>
        <source>地址：103....107</source>
        <translation>Reg. 103....107</translation>
    </message>
    <message>
        <source>内圈特征系数：</source>
        <translation>Inner race:</translation>
    </message>
    <message>
        <source>外圈特征系数：</source>
        <translation>Outer race:</translation>
    </message>
    <message>
        <source>滚动体特征系数：</source>
        <translation>Rolling elem.:</translation>
    </message>
    <message>
        <source>保持架特征系数：</source>
        <translation>Cage:</translation>
    </message>
    <message>
        <source>叶片类特征系数：</source>
        <translation>Blades:</translation>
    </message>
    <message>
        <source>倍转频</source>
        <translation>x speed</translation>
    </message>
    <message>
        <source>设置网络地址参数（写入完毕后需保存参数才能生效）</source>
        <translation>Network (effective after Save)</translation>
    </message>
    <message>
        <source>地址：111....118</source>
        <translation>Reg. 111....118</translation>
    </message>
    <message>
        <source>网关：</source>
        <translation>Gateway:</translation>
    </message>
    <message>
        <source>子网掩码：</source>
        <translation>Mask:</translation>
    </message>
    <message>
        <source>DNS：</source>
        <translation>DNS:</translation>
    </message>
    <message>
        <source>传感器IP：</source>
        <translation>Sensor IP:</translation>
    </message>
    <message>
        <source>设置传动比（写入完毕后需保存参数才能生效）</source>
        <translation>Transmission ratio (effective after Save)</translation>
    </message>
    <message>
        <source>地址：120</source>
        <translation>Reg. 120</translation>
    </message>
    <message>
        <source>传感器当前传动比系数：</source>
        <translation>Ratio:</translation>
    </message>
    <message>
        <source>设置传感器内部转速的来源（写入完毕后需保存参数才能生效）</source>
        <translation>Speed source (effective after Save)</translation>
    </message>
    <message>
        <source>地址：130</source>
        <translation>Reg. 130</translation>
    </message>
    <message>
        <source>传感器内部转速信号源：</source>
        <translation>Speed source:</translation>
    </message>
    <message>
        <source>自动识别</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>人工输入</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>速度源1：设置人工输入转速（写入完毕后立即生效）</source>
        <translation>Source 1: manual speed (effective at once)</translation>
    </message>
    <message>
        <source>地址：67</source>
        <translation>Reg. 67</translation>
    </message>
    <message>
        <source>人工输入的配置转速值：</source>
        <translation>Manual speed:</translation>
    </message>
    <message>
        <source>速度源2：设置自动识别转速的模式（写入完毕后立即生效）</source>
        <translation>Source 2: automatic detection (effective at once)</translation>
    </message>
    <message>
        <source>地址：131,132</source>
        <translation>Reg. 131,132</translation>
    </message>
    <message>
        <source>转速自动识别工况模式：</source>
        <translation>Detection mode:</translation>
    </message>
    <message>
        <source>工频</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>变频</source>
        <translation>Variable</translation>
    </message>
    <message>
        <source>额定参考转速:</source>
        <translation>Rated speed:</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>（注意：以上参数写入后需点击保存，否则传感器断电重启后参数会恢复默认！）</source>
        <translation>(Note: press Save after writing, or the sensor returns to its defaults at the next power cycle!)</translation>
    </message>
    <message>
        <source>设置传感器参数</source>
        <translation>Sensor parameters</translation>
    </message>
    <message>
        <source>设置传感器参数,当前传感器IP为: %1.%2.%3.%4</source>
        <translation>Sensor parameters, sensor IP: %1.%2.%3.%4</translation>
    </message>
</context>
<context>
    <name>orsan::StationAlarms</name>
    <message>
        <source>%1#传感器振动烈度分区</source>
        <translation>Vibration severity zone of sensor %1</translation>
    </message>
    <message>
        <source>报警记录</source>
        <translation>Alarms</translation>
    </message>
    <message>
        <source>数据文件夹无法写入：新的报警事件只在本页列出，不保存。</source>
        <translation>The data folder cannot be written: new alarm events are listed on this page only, not saved.</translation>
    </message>
    <message>
        <source>报警事件未能保存: </source>
        <translation>Alarm events could not be saved: </translation>
    </message>
    <message>
        <source>报警设置已生效，但无法写入配置文件%1，下次启动时将恢复原设置!</source>
        <translation>The alarm settings are in effect, but the configuration file %1 cannot be written; the next start uses the previous settings!</translation>
    </message>
    <message>
        <source>报警记录导出失败：</source>
        <translation>Alarm export failed: </translation>
    </message>
    <message>
        <source>报警仍未解除，退出后将不再监视和报警：</source>
        <translation>Alarms still active; once closed, nothing watches or sounds them:</translation>
    </message>
</context>
<context>
    <name>orsan::TrendChart</name>
    <message>
        <source>无法写入文件 %1：曲线图尚未绘制</source>
        <translation>Cannot write file %1: the chart is not drawn yet</translation>
    </message>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write file %1: %2</translation>
    </message>
    <message>
        <source>曲线图尚未绘制</source>
        <translation>the chart is not drawn yet</translation>
    </message>
    <message>
        <source>PNG编码失败</source>
        <translation>PNG encoding failed</translation>
    </message>
    <message>
        <source>三轴振动温度实时趋势曲线</source>
        <translation>Realtime Trend of Tri-Axis Vibration &amp; Temperature</translation>
    </message>
</context>
<context>
    <name>orsan::WavDaqDlg</name>
    <message>
        <source>读取传感器 { %1.%2.%3.%4 } 波形</source>
        <translation>Waveform of Sensor { %1.%2.%3.%4 }</translation>
    </message>
    <message>
        <source>选择采集时长:</source>
        <translation>Capture time:</translation>
    </message>
    <message>
        <source>开始采集</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>采集状态:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>导出数据</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>时间戳:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>已采集:</source>
        <translation>Count:</translation>
    </message>
    <message>
        <source>点，采样率</source>
        <translation>pts, rate</translation>
    </message>
    <message>
        <source>频谱分析</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <source>%1时%2分%3秒</source>
        <translation>%1:%2:%3</translation>
    </message>
    <message>
        <source>无法分析波形：%1</source>
        <translation>Cannot analyse the waveform: %1</translation>
    </message>
    <message>
        <source>波形数据导出失败，无法写入文件:
%1
原因: %2</source>
        <translation>Waveform export failed; cannot write the file:
%1
Reason: %2</translation>
    </message>
</context>
<context>
    <name>orsan::YesnoMsgDlg</name>
    <message>
        <source>消息确认提示！</source>
        <translation>Please confirm</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
</context>
</TS>
